#include "kestrel/ui/CAcqDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QVBoxLayout>

#include "appcore/WindowPlacement.h"
#include "settings/CSProfile.h"

namespace vorna {

namespace {

QString FromCore(const std::string& text) {
    return QString::fromStdString(text);
}

void Fill(QComboBox* box, const std::vector<std::string>& entries, int selection) {
    box->clear();
    for (const std::string& entry : entries)
        box->addItem(FromCore(entry));
    box->setCurrentIndex(selection);
}

QLineEdit* NumberField(const QString& name, bool signedValue, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    const QString pattern = signedValue ? QStringLiteral("-?[0-9]*") : QStringLiteral("[0-9]*");
    field->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), field));
    return field;
}

QComboBox* List(const QString& name, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    return box;
}

} // namespace

CAcqDlg::CAcqDlg(const AcqSetup& values, CSProfile& profile, KestrelDeviceType analyzer,
                 std::function<int()> cursorChannel, QWidget* parent)
    : QDialog(parent), m_form(values, profile, analyzer), m_profile(profile),
      m_cursorChannel(std::move(cursorChannel)) {
    setWindowTitle(QStringLiteral("Set Acquisition Mode"));
    BuildControls();
    InstallToolTips();
    ShowLists();
    ShowFieldTexts();
    adjustSize();
    const DialogPosition& saved = m_profile.Dialog(ProfileDialog::AcqSetupDlg);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize area = screen ? screen->availableSize() : QSize(0, 0);
    const PixelPoint p = PlaceDialog({saved.hpos, saved.vpos}, width(), height(),
                                     ScreenSize{area.width(), area.height()});
    move(p.x, p.y);
}

void CAcqDlg::BuildControls() {
    auto* frame = new QGroupBox(QStringLiteral("KestrelA"), this);
    auto* grid = new QGridLayout(frame);
    int row = 0;
    auto addRow = [&](const QString& label, QWidget* control, QWidget* extra = nullptr) {
        auto* text = new QLabel(label, frame);
        text->setBuddy(control);
        grid->addWidget(text, row, 0);
        grid->addWidget(control, row, 1);
        if (extra)
            grid->addWidget(extra, row, 2);
        ++row;
        return text;
    };
    m_acqMode = List(QStringLiteral("acquisitionMode"), frame);
    m_acqMode->addItems({QStringLiteral("MCA"), QStringLiteral("Limited MCS (see help file)")});
    m_presetMode = List(QStringLiteral("presetMode"), frame);
    m_preset = NumberField(QStringLiteral("preset"), false, frame);
    m_channelUsed = NumberField(QStringLiteral("channelUsed"), true, frame);
    m_channelCursor = new QPushButton(QStringLiteral("Cursor"), frame);
    m_channelCursor->setObjectName(QStringLiteral("channelUsedCursor"));
    m_timerType = List(QStringLiteral("timerType"), frame);
    m_timerType->addItems({QStringLiteral("Live Time"), QStringLiteral("Real Time")});
    m_threshold = NumberField(QStringLiteral("threshold"), false, frame);
    m_thresholdCursor = new QPushButton(QStringLiteral("Cursor"), frame);
    m_thresholdCursor->setObjectName(QStringLiteral("thresholdCursor"));
    m_peakMode = List(QStringLiteral("peakMode"), frame);
    m_peakMode->addItems({QStringLiteral("Absolute"), QStringLiteral("First")});
    m_group = List(QStringLiteral("memoryGroup"), frame);
    m_adc = List(QStringLiteral("adcChannels"), frame);

    addRow(QStringLiteral("Acquisition Mode:"), m_acqMode);
    addRow(QStringLiteral("Preset Mode:"), m_presetMode);
    m_presetLabel = addRow(QString(), m_preset);
    m_presetLabel->setObjectName(QStringLiteral("presetLabel"));
    addRow(QStringLiteral("Channel Used (cts):"), m_channelUsed, m_channelCursor);
    addRow(QStringLiteral("Timer Type:"), m_timerType);
    addRow(QStringLiteral("Threshold:"), m_threshold, m_thresholdCursor);
    addRow(QStringLiteral("Peak Mode:"), m_peakMode);
    addRow(QStringLiteral("Memory Group:"), m_group);
    addRow(QStringLiteral("ADC Channels:"), m_adc);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* defaults =
        buttons->addButton(QStringLiteral("Defaults"), QDialogButtonBox::ResetRole);
    defaults->setObjectName(QStringLiteral("defaults"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(buttons, &QDialogButtonBox::accepted, this, &CAcqDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CAcqDlg::reject);
    connect(defaults, &QPushButton::clicked, this, &CAcqDlg::OnDefaults);
    connect(m_acqMode, &QComboBox::activated, this, &CAcqDlg::OnAcquisitionMode);
    connect(m_presetMode, &QComboBox::activated, this, &CAcqDlg::OnPresetMode);
    connect(m_adc, &QComboBox::activated, this, &CAcqDlg::OnAdcChannels);
    connect(m_group, &QComboBox::activated, this, [this](int i) { m_form.ChangeGroup(i); });
    connect(m_timerType, &QComboBox::activated, this, [this](int i) { m_form.ChangeTimerType(i); });
    connect(m_peakMode, &QComboBox::activated, this, [this](int i) { m_form.ChangePeakMode(i); });
    connect(m_thresholdCursor, &QPushButton::clicked, this, [this] {
        if (m_cursorChannel)
            m_threshold->setText(FromCore(AcqSetupForm::ThresholdFromCursor(m_cursorChannel())));
    });
    connect(m_channelCursor, &QPushButton::clicked, this, [this] {
        if (m_cursorChannel)
            m_channelUsed->setText(
                FromCore(AcqSetupForm::ChannelUsedFromCursor(m_cursorChannel())));
    });
}

void CAcqDlg::InstallToolTips() {
    m_timerType->setToolTip(QStringLiteral("Timer type"));
    m_preset->setToolTip(QStringLiteral("Preset value"));
    m_thresholdCursor->setToolTip(
        QStringLiteral("Enters the current cursor position as the threshold"));
    m_threshold->setToolTip(QStringLiteral("Lowest channel of data collection in the KestrelA"));
    m_group->setToolTip(QStringLiteral("Memory group used for data acquisition"));
    m_adc->setToolTip(QStringLiteral("ADC gain (256, 512, 1024, 2048, 4096, 8192, and 16384)"));
    m_peakMode->setToolTip(
        QStringLiteral("Select First (Nuclear), or Absolute (Airborne Particle Sizing)"));
    m_presetMode->setToolTip(QStringLiteral("Preset Mode (Seconds, Counts, Channel, None)"));
    m_acqMode->setToolTip(QStringLiteral("Acquire Mode (MCA or Limited MCS, see help file)"));
}

// Lists, selections, the preset label and what is enabled; the typed field texts stay.
void CAcqDlg::ShowLists() {
    const AcqSetup& v = m_form.Values();
    m_acqMode->setCurrentIndex(v.acquireMode);
    Fill(m_presetMode, m_form.PresetModeEntries(), m_form.PresetModeSelection());
    Fill(m_adc, m_form.AdcEntries(), m_form.AdcSelection());
    Fill(m_group, m_form.GroupEntries(), m_form.GroupSelection());
    m_timerType->setCurrentIndex(v.timerType);
    m_peakMode->setCurrentIndex(v.peakMode);
    m_presetLabel->setText(FromCore(m_form.PresetLabel()));
    m_preset->setEnabled(m_form.PresetEnabled());
    m_channelUsed->setEnabled(m_form.ChannelUsedEnabled());
    m_channelCursor->setEnabled(m_form.ChannelUsedEnabled());
    m_group->setEnabled(m_form.GroupEnabled());
    m_adc->setEnabled(m_form.AdcEnabled());
    m_peakMode->setEnabled(m_form.PeakModeEnabled());
}

void CAcqDlg::ShowFieldTexts() {
    const AcqFieldTexts texts = m_form.FieldTexts();
    m_preset->setText(FromCore(texts.preset));
    m_channelUsed->setText(FromCore(texts.channelUsed));
    m_threshold->setText(FromCore(texts.threshold));
}

AcqFieldTexts CAcqDlg::Texts() const {
    return {m_preset->text().toStdString(), m_channelUsed->text().toStdString(),
            m_threshold->text().toStdString()};
}

void CAcqDlg::Refuse(const AcqFormError& error) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("VORNA"), FromCore(error.message),
                    QMessageBox::Ok, this);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    if (!error.field)
        return;
    QLineEdit* field = *error.field == AcqSetupField::Preset        ? m_preset
                       : *error.field == AcqSetupField::ChannelUsed ? m_channelUsed
                                                                    : m_threshold;
    field->setFocus();
    field->selectAll();
}

void CAcqDlg::OnPresetMode(int entry) {
    if (auto error = m_form.ChangePresetMode(entry, Texts())) {
        ShowLists(); // back to the mode that was in force
        Refuse(*error);
        return;
    }
    ShowLists();
    ShowFieldTexts();
}

void CAcqDlg::OnAcquisitionMode(int mode) {
    const uint32_t presetBefore = m_form.Values().preset;
    m_form.ChangeAcquisitionMode(mode);
    ShowLists();
    if (m_form.Values().preset != presetBefore || !m_form.PresetEnabled())
        m_preset->setText(FromCore(m_form.FieldTexts().preset));
}

void CAcqDlg::OnAdcChannels(int entry) {
    m_form.ChangeAdcChannels(entry);
    Fill(m_group, m_form.GroupEntries(), m_form.GroupSelection());
}

void CAcqDlg::OnDefaults() {
    m_form.Defaults();
    ShowLists();
    ShowFieldTexts();
}

void CAcqDlg::accept() {
    if (auto error = m_form.Accept(Texts())) {
        Refuse(*error);
        return;
    }
    m_form.StoreInProfile(m_profile);
    QDialog::accept();
}

void CAcqDlg::done(int result) {
    DialogPosition& saved = m_profile.Dialog(ProfileDialog::AcqSetupDlg);
    saved.hpos = frameGeometry().left();
    saved.vpos = frameGeometry().top();
    QDialog::done(result);
}

std::optional<AcqSetup> RunAcqSetupDialog(const AcqSetup& values, CSProfile& profile,
                                          KestrelDeviceType analyzer,
                                          std::function<int()> cursorChannel, QWidget* parent) {
    CAcqDlg dlg(values, profile, analyzer, std::move(cursorChannel), parent);
    if (dlg.exec() != QDialog::Accepted)
        return std::nullopt;
    return dlg.values();
}

} // namespace vorna
