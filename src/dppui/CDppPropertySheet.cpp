#include "dppui/CDppPropertySheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QThread>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "common/CaptionedPrompt.h"
#include "common/NumberText.h"
#include "dpp/DppBootFlags.h"
#include "dpp/DppConfigStrings.h"
#include "dpp/DppConfigText.h"
#include "dpp/DppDevice.h"
#include "dpp/DppModels.h"
#include "dpp/DppTypes.h"
#include "dppui/DppNumberField.h"

namespace vorna {

namespace {

QPointer<CDppPropertySheet> g_openSheet;

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QLabel* ColouredLabel(const QString& text, const QColor& colour, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
    return label;
}

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kDarkGreen(47, 79, 47);

QPlainTextEdit* MessageField(QWidget* parent, int lines) {
    auto* field = new QPlainTextEdit(parent);
    field->setReadOnly(true);
    field->setFixedHeight(field->fontMetrics().lineSpacing() * lines + 12);
    return field;
}

} // namespace

// --- shared helpers ---

QStringList AnalogOutChoices() {
    return {QStringLiteral("Fast Channel"), QStringLiteral("Shaped Pulse"),
            QStringLiteral("Decimated Input"), QStringLiteral("Test"), QStringLiteral("Off")};
}

QStringList AuxOutChoices() {
    return {QStringLiteral("ICR"),     QStringLiteral("PILEUP"),  QStringLiteral("MCS Timebase"),
            QStringLiteral("ONESHOT"), QStringLiteral("DET_RES"), QStringLiteral("MCA_EN"),
            QStringLiteral("TRIGGER"), QStringLiteral("SCA8")};
}

int AnalogOutIndex(const DppConfigRecord& record) {
    if (record.DAC_Enable == 0)
        return 4;
    return record.DAC >= 0 && record.DAC <= 3 ? record.DAC : 1;
}

void ApplyAnalogOutIndex(DppConfigRecord& record, int index) {
    if (index >= 0 && index <= 3) {
        record.DAC = index;
        record.DAC_Enable = 1;
        // The decimated input is shown around zero.
        if (index == 2)
            record.Offset = 0;
    } else {
        record.DAC_Enable = 0;
    }
}

// --- page base ---

CPropDppPage::CPropDppPage(DppPage id, CDppPropertySheet& sheet)
    : QWidget(sheet.tabs()), m_id(id), m_sheet(sheet) {}

DppSheetHost& CPropDppPage::host() const {
    return m_sheet.host();
}
DppSheetState& CPropDppPage::state() const {
    return m_sheet.state();
}
DppConfigRecord& CPropDppPage::record() const {
    return host().Device().config;
}
int CPropDppPage::deviceType() const {
    return host().DeviceType();
}

DppFieldContext CPropDppPage::FieldContext() const {
    DppFieldContext c;
    c.deviceType = deviceType();
    c.directHighVoltage = host().Device().status.directHighVoltage;
    c.channels = record().channels;
    return c;
}

DppNumberField* CPropDppPage::AddField(DppField id) {
    return AddField(FieldSpec(id, FieldContext()));
}

DppNumberField* CPropDppPage::AddField(const DppFieldSpec& row) {
    auto* field = new DppNumberField(row, this);
    connect(field, &DppNumberField::Edited, this, [this] {
        if (!m_initialising)
            MarkModified();
    });
    return field;
}

void CPropDppPage::Watch(QComboBox* combo) {
    connect(combo, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_initialising)
            MarkModified();
    });
    if (combo->isEditable())
        connect(combo, &QComboBox::editTextChanged, this, [this] {
            if (!m_initialising)
                MarkModified();
        });
}

void CPropDppPage::Watch(QLineEdit* edit) {
    connect(edit, &QLineEdit::textEdited, this, [this] {
        if (!m_initialising)
            MarkModified();
    });
}

void CPropDppPage::MarkModified() {
    MarkPageModified(state(), m_modified);
    m_sheet.PageModified();
}

void CPropDppPage::OnSetActive() {
    if (!state().TakeReload(m_id))
        return;
    m_initialising = true;
    Fill();
    m_initialising = false;
}

void CPropDppPage::OnApply() {
    if (!m_modified)
        return;
    WriteBack(record());
    DppDevice& device = host().Device();
    device.configurationLoaded = true;
    m_modified = false;
    if (FinishPageApply(state()))
        host().SendAndSaveConfiguration();
    if (RetuneAfterApply() &&
        InputOffsetRetuneDue(state(), deviceType(), device.status.firmwareVersionByte,
                             record().PloverInputOffset)) {
        // The device finds the new offset; the sheet comes back on the Gain & Pole Zero page.
        host().Post(MainMessage::TuneInputOffset);
        host().Post(MainMessage::CloseDppProperties);
    }
}

void CPropDppPage::StartTuning(MainMessage message, QPlainTextEdit* note) {
    if (note)
        note->setPlainText(QStringLiteral("Please wait for this dialog to return..."));
    switch (message) {
    case MainMessage::TuneFastThreshold:
        state().fastThresholdTuned = true;
        break;
    case MainMessage::TuneSlowThreshold:
        state().slowThresholdTuned = true;
        break;
    default:
        state().offsetRetune = true;
        break;
    }
    host().Post(message);
    host().Post(MainMessage::CloseDppProperties);
}

// --- sheet ---

CDppPropertySheet::CDppPropertySheet(DppSheetHost& host, DppSheetState& state, QWidget* parent)
    : QDialog(parent), m_host(host), m_state(state) {
    setWindowTitle(QStringLiteral("DPP Properties"));
    m_tabs = new QTabWidget(this);
    m_pages[0] = new CPropDppGeneral(*this);
    m_pages[1] = new CPropDppAnalyzer(*this);
    m_pages[2] = new CPropDppShaping(*this);
    m_pages[3] = new CPropDppGainPZ(*this);
    m_pages[4] = new CPropDppPower(*this);
    m_pages[5] = new CPropDppMisc(*this);
    const char* captions[kDppPageCount] = {"General",           "MCA",   "Shaping",
                                           "Gain && Pole Zero", "Power", "Misc"};
    for (int i = 0; i < kDppPageCount; ++i) {
        m_pages[static_cast<size_t>(i)]->setObjectName(QString::fromLatin1(captions[i]));
        m_tabs->addTab(m_pages[static_cast<size_t>(i)], QString::fromLatin1(captions[i]));
    }
    m_buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    applyButton()->setEnabled(false);
    connect(m_buttons, &QDialogButtonBox::accepted, this, [this] {
        ApplyAll();
        accept();
    });
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(applyButton(), &QPushButton::clicked, this, [this] { ApplyAll(); });
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0 && index < kDppPageCount)
            m_pages[static_cast<size_t>(index)]->OnSetActive();
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_buttons);
    ShowGainScale(m_host.GainScaleThresholds());
    // Enter belongs to the field that has the focus: it commits there and never closes the
    // sheet through a default button.
    for (QPushButton* b : findChildren<QPushButton*>()) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
}

void CDppPropertySheet::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

QPushButton* CDppPropertySheet::applyButton() const {
    return m_buttons->button(QDialogButtonBox::Apply);
}

void CDppPropertySheet::SetCurrentPage(DppPage id) {
    const int index = static_cast<int>(id);
    if (m_tabs->currentIndex() == index)
        m_pages[static_cast<size_t>(index)]->OnSetActive();
    else
        m_tabs->setCurrentIndex(index);
}

void CDppPropertySheet::ApplyAll() {
    for (CPropDppPage* p : m_pages)
        p->OnApply();
    applyButton()->setEnabled(false);
}

void CDppPropertySheet::PageModified() {
    applyButton()->setEnabled(true);
}

void CDppPropertySheet::ShowGainScale(bool on) {
    static_cast<CPropDppAnalyzer*>(page(DppPage::Mca))->gainScaleLabel()->setVisible(on);
    static_cast<CPropDppShaping*>(page(DppPage::Shaping))->gainScaleLabel()->setVisible(on);
}

CDppPropertySheet* OpenDppSheet() {
    return g_openSheet.data();
}

void OpenDppProperties(DppSheetHost& host, DppSheetState& state, QWidget* parent) {
    const DppFirstPage first = ChooseFirstPage(state);
    if (first.readInputOffset)
        host.ReadInputOffset();
    state.MarkAllForReload();
    CDppPropertySheet sheet(host, state, parent);
    g_openSheet = &sheet;
    // Every page fills once, so values typed on one survive switching to another.
    for (int i = 0; i < kDppPageCount; ++i)
        sheet.page(static_cast<DppPage>(i))->OnSetActive();
    sheet.SetCurrentPage(first.page);
    sheet.exec();
    g_openSheet = nullptr;
}

// --- General ---

CPropDppGeneral::CPropDppGeneral(CDppPropertySheet& sheet) : CPropDppPage(DppPage::General, sheet) {
    m_port = new QComboBox(this);
    m_port->addItem(QStringLiteral("USB"));
    for (int i = 1; i <= 9; ++i)
        m_port->addItem(QStringLiteral("COM%1").arg(i));
    m_port->setEnabled(false);
    m_refresh = new QLineEdit(this);
    m_refresh->setToolTip(QStringLiteral("How often data are read from the DPP (500 to 20000 ms)"));
    Watch(m_refresh);
    auto* link = new QGroupBox(QStringLiteral("Connection"), this);
    auto* linkForm = new QFormLayout(link);
    linkForm->addRow(QStringLiteral("Port"), m_port);
    linkForm->addRow(QStringLiteral("USB Refresh (ms)"), m_refresh);

    m_message = MessageField(this, 3);
    m_detectors = new QComboBox(this);
    m_detectors->setToolTip(QStringLiteral("Load a ready-made configuration for your detector"));
    auto* sources = new QGroupBox(QStringLiteral("Configuration"), this);
    auto* sourceLayout = new QGridLayout(sources);
    sourceLayout->addWidget(new QLabel(QStringLiteral("Read Quorix Detector Configuration"), this),
                            0, 0, 1, 2);
    sourceLayout->addWidget(m_detectors, 1, 0, 1, 2);
    auto button = [this](const char* text, DppConfigSource source) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        connect(b, &QPushButton::clicked, this, [this, source] { RunSource(source); });
        return b;
    };
    sourceLayout->addWidget(
        button("Recall Previous Software Configuration", DppConfigSource::RecallPrevious), 2, 0);
    sourceLayout->addWidget(
        button("Read Current Hardware Configuration", DppConfigSource::ReadHardware), 3, 0);
    sourceLayout->addWidget(button("Open Predefined Configuration File", DppConfigSource::OpenFile),
                            4, 0);
    sourceLayout->addWidget(
        button("Save Current Configuration To File", DppConfigSource::SaveToFile), 2, 1);
    sourceLayout->addWidget(button("Show Current Configuration", DppConfigSource::Show), 3, 1);
    sourceLayout->addWidget(
        button("Copy Configuration To Clipboard", DppConfigSource::CopyToClipboard), 4, 1);
    sourceLayout->addWidget(m_message, 5, 0, 1, 2);

    m_useHardware = new QRadioButton(QStringLiteral("Use Configuration Stored In Hardware"), this);
    m_useSoftware = new QRadioButton(QStringLiteral("Use Configuration Stored In Software"), this);
    connect(m_useHardware, &QRadioButton::clicked, this,
            [this] { host().SetStartupUsesHardware(true); });
    connect(m_useSoftware, &QRadioButton::clicked, this,
            [this] { host().SetStartupUsesHardware(false); });
    auto* startup = new QGroupBox(QStringLiteral("Start-up"), this);
    auto* startupLayout = new QVBoxLayout(startup);
    startupLayout->addWidget(m_useHardware);
    startupLayout->addWidget(m_useSoftware);

    m_bootTree = new QTreeWidget(this);
    m_bootTree->setHeaderHidden(true);
    m_bootTree->setMinimumHeight(160);
    connect(m_bootTree, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item) {
        if (m_initialising || !item->parent() || item->checkState(0) != Qt::Checked)
            return;
        // The two choices of a group act as a pair of radio buttons.
        m_initialising = true;
        QTreeWidgetItem* group = item->parent();
        for (int i = 0; i < group->childCount(); ++i)
            if (group->child(i) != item)
                group->child(i)->setCheckState(0, Qt::Unchecked);
        m_initialising = false;
        if (IsOspreyClass(deviceType()))
            MarkModified();
    });

    m_offsetEdit = new QLineEdit(this);
    m_offsetEdit->setToolTip(
        QStringLiteral("Spectrum offset in percent of full scale (-100 to 100)"));
    connect(m_offsetEdit, &QLineEdit::textEdited, this, [this] {
        if (m_initialising)
            return;
        m_offsetEdited = true;
        MarkModified();
    });
    m_offsetChannels = new QLabel(this);
    m_refreshOffset = new QPushButton(QStringLiteral("Refresh Spectrum Offset"), this);
    connect(m_refreshOffset, &QPushButton::clicked, this, [this] { ShowSpectrumOffset(); });
    auto* offset = new QGroupBox(QStringLiteral("Osprey Spectrum Offset"), this);
    auto* offsetLayout = new QGridLayout(offset);
    offsetLayout->addWidget(m_offsetEdit, 0, 0);
    offsetLayout->addWidget(new QLabel(QStringLiteral("%FS"), this), 0, 1);
    offsetLayout->addWidget(m_offsetChannels, 0, 2);
    offsetLayout->addWidget(new QLabel(QStringLiteral("Chan."), this), 0, 3);
    offsetLayout->addWidget(m_refreshOffset, 1, 0, 1, 4);

    auto* boot = new QGroupBox(QStringLiteral("Osprey Boot Options"), this);
    auto* bootLayout = new QVBoxLayout(boot);
    bootLayout->addWidget(m_bootTree);

    auto* layout = new QGridLayout(this);
    layout->addWidget(link, 0, 0);
    layout->addWidget(startup, 1, 0);
    layout->addWidget(offset, 2, 0);
    layout->addWidget(sources, 0, 1, 2, 1);
    layout->addWidget(boot, 2, 1);
    layout->setRowStretch(3, 1);

    connect(m_detectors, &QComboBox::activated, this, [this](int index) {
        if (index <= 0)
            return;
        ShowNoteAndReopen(
            host().LoadDetectorConfiguration(m_detectors->itemText(index).toStdString()));
    });
}

namespace {

struct BootGroup {
    const char* name;
    int bit;
    const char* whenClear;
    const char* whenSet;
};

constexpr BootGroup kBootGroups[] = {
    {"Power-up configuration", 6, "Boot unconfigured", "Boot configured (normal operation)"},
    {"RS232 baud rate", 5, "57,600 baud", "115,200 baud (normal operation)"},
    {"FPGA clock", 4, "20MHz", "80MHz"},
    {"Requested HV Polarity", 3, "Negative", "Positive"},
    {"Fast channel shaping", 0, "Normal", "4x Slower"},
    {"Spectrum offset", 1, "None (normal operation)", "Use Offset"},
    {"Peak detect", 8, "Max only (normal operation)", "Max and min"},
    {"MCA channel", 9, "Slow channel (normal operation)", "Fast channel"},
};

} // namespace

bool CPropDppGeneral::OffsetEnabled() const {
    return IsOspreyClass(deviceType()) && (host().Device().status.bootFlags & 0x02) != 0;
}

void CPropDppGeneral::Fill() {
    const DppConfigRecord& r = record();
    m_port->setCurrentIndex(0);
    m_refresh->setText(QString::number(host().DataRefreshMs()));
    const bool plover = IsPloverClass(deviceType());
    if (!plover)
        host().SetStartupUsesHardware(false);
    const bool hardware = plover && host().StartupUsesHardware();
    m_useHardware->setChecked(hardware);
    m_useSoftware->setChecked(!hardware);
    m_useHardware->setEnabled(plover);
    m_useSoftware->setEnabled(plover);
    (void)r;

    m_detectors->clear();
    m_detectors->addItem(QString());
    for (const std::string& name : host().DetectorConfigurationNames())
        m_detectors->addItem(Q(name));

    const bool osprey = IsOspreyClass(deviceType());
    m_bootWord = host().Device().status.bootFlags;
    m_bootTree->clear();
    auto* root = new QTreeWidgetItem(m_bootTree, {QStringLiteral("Osprey Boot Flags")});
    for (const BootGroup& g : kBootGroups) {
        auto* group = new QTreeWidgetItem(root, {QString::fromLatin1(g.name)});
        group->setData(0, Qt::UserRole, g.bit);
        const bool set = (m_bootWord >> g.bit) & 1;
        auto* clear = new QTreeWidgetItem(group, {QString::fromLatin1(g.whenClear)});
        clear->setCheckState(0, set ? Qt::Unchecked : Qt::Checked);
        auto* on = new QTreeWidgetItem(group, {QString::fromLatin1(g.whenSet)});
        on->setCheckState(0, set ? Qt::Checked : Qt::Unchecked);
    }
    m_bootTree->expandAll();
    m_bootTree->setEnabled(osprey);

    const bool offset = OffsetEnabled();
    m_offsetEdit->setEnabled(offset);
    m_refreshOffset->setEnabled(offset);
    m_offsetEdited = false;
    ShowSpectrumOffset();

    if (state().generalMessagePending) {
        m_message->setPlainText(Q(state().generalMessage));
        state().generalMessagePending = false;
        MarkModified();
    }
}

void CPropDppGeneral::ShowSpectrumOffset() {
    if (!OffsetEnabled()) {
        m_offsetChannels->setText(QString());
        return;
    }
    const int16_t o = host().Device().status.SpectrumOffset();
    const int n = ChannelsFromCode(record().MCA);
    m_offsetEdit->setText(Q(Format("%.2f", SpectrumOffsetPercent(o))));
    m_offsetChannels->setText(Q(Format("%.2f", SpectrumOffsetChannels(o, n))));
}

void CPropDppGeneral::ChooseBootOption(int bit, bool set) {
    QTreeWidgetItem* root = m_bootTree->topLevelItem(0);
    for (int i = 0; root && i < root->childCount(); ++i) {
        QTreeWidgetItem* group = root->child(i);
        if (group->data(0, Qt::UserRole).toInt() == bit)
            group->child(set ? 1 : 0)->setCheckState(0, Qt::Checked);
    }
}

uint16_t CPropDppGeneral::BootWordFromTree() const {
    // Bits 10..15, 2 and 7 are the device's; the tree gives the other eight.
    uint16_t word = m_bootWord & 0xFC84;
    QTreeWidgetItem* root = m_bootTree->topLevelItem(0);
    for (int i = 0; root && i < root->childCount(); ++i) {
        QTreeWidgetItem* group = root->child(i);
        const int bit = group->data(0, Qt::UserRole).toInt();
        if (group->child(1)->checkState(0) == Qt::Checked)
            word = static_cast<uint16_t>(word | (1u << bit));
    }
    return word;
}

void CPropDppGeneral::WriteBack(DppConfigRecord& r) {
    r.Port = m_port->currentIndex();
    bool ok = false;
    int refresh = m_refresh->text().trimmed().toInt(&ok);
    if (!ok || refresh < 500 || refresh > 20000)
        refresh = 1000;
    m_refresh->setText(QString::number(refresh));
    host().SetDataRefreshMs(refresh);

    if (!IsOspreyClass(deviceType()))
        return;
    const uint16_t device = host().Device().status.bootFlags;
    const uint16_t word = BootWordFromTree();
    if (word != device) {
        if (BootFlagsChangeNeedsPowerCycle(device, word))
            ShowCaptioned(host().Prompt(), kBootOptionChangeCaption, kBootOptionChangeText,
                          PromptStyle::Information);
        host().WriteBootFlags(word);
        if (((word ^ device) & 0x02) != 0 && (word & 0x02) != 0)
            m_refreshOffset->setEnabled(true);
    }
    if (m_offsetEdited && OffsetEnabled()) {
        const double percent = ScanDouble(m_offsetEdit->text().toStdString()).value_or(0.0);
        const int16_t value = SpectrumOffsetFromPercent(percent);
        m_offsetChannels->setText(
            Q(Format("%.2f", SpectrumOffsetChannels(value, ChannelsFromCode(r.MCA)))));
        host().SetSpectrumOffset(value);
        m_offsetEdited = false;
    }
}

void CPropDppGeneral::RunSource(DppConfigSource source) {
    const std::string note = host().RunConfigurationSource(source);
    switch (source) {
    case DppConfigSource::RecallPrevious:
    case DppConfigSource::ReadHardware:
    case DppConfigSource::OpenFile:
        ShowNoteAndReopen(note);
        break;
    default:
        if (!note.empty())
            m_message->setPlainText(Q(note));
        break;
    }
}

void CPropDppGeneral::ShowNoteAndReopen(const std::string& note) {
    if (note.empty())
        return;
    // The pages refill from what was loaded when the sheet comes back.
    m_message->setPlainText(Q(note));
    state().generalMessage = note;
    state().generalMessagePending = true;
    host().Post(MainMessage::CloseDppProperties);
}

// --- MCA ---

namespace {

struct PresetItem {
    const char* text;
    uint32_t value;
};
constexpr PresetItem kPresets[] = {
    {"None", 0},     {"1 sec", 10},    {"2 sec", 20},     {"5 sec", 50},
    {"10 sec", 100}, {"30 sec", 300},  {"1 min", 600},    {"2 min", 1200},
    {"5 min", 3000}, {"10 min", 6000}, {"30 min", 18000}, {"1 hr", 36000},
    {"2 hr", 72000}, {"5 hr", 180000}, {"10 hr", 360000}, {"24 hr", 864000},
};
constexpr int kChannelCodes[6] = {4, 3, 2, 1, 0, 5};

} // namespace

CPropDppAnalyzer::CPropDppAnalyzer(CDppPropertySheet& sheet) : CPropDppPage(DppPage::Mca, sheet) {
    m_mode = new QComboBox(this);
    m_mode->addItems({QStringLiteral("MCA"), QStringLiteral("MCS")});
    m_timebase = new QComboBox(this);
    for (int i = 0; i < 16; ++i)
        m_timebase->addItem(QString::fromLatin1(McsTimebaseText(i)));
    m_mcsNote = ColouredLabel(
        QStringLiteral("MCS NOTE: Set Lower/Upper channels in SCA8.  Enable SCA8."), kRed, this);
    m_mcsNote->setWordWrap(true);
    m_channels = new QComboBox(this);
    m_channels->addItems({QStringLiteral("256 Ch"), QStringLiteral("512 Ch"),
                          QStringLiteral("1024 Ch"), QStringLiteral("2048 Ch"),
                          QStringLiteral("4096 Ch"), QStringLiteral("8192 Ch")});
    m_gate = new QComboBox(this);
    m_gate->addItems(
        {QStringLiteral("Off"), QStringLiteral("Active High"), QStringLiteral("Active Low")});
    m_preset = new QComboBox(this);
    m_preset->setEditable(true);
    m_preset->setInsertPolicy(QComboBox::NoInsert);
    for (const PresetItem& p : kPresets)
        m_preset->addItem(QString::fromLatin1(p.text), static_cast<qulonglong>(p.value));
    m_preset->setToolTip(
        QStringLiteral("Acquisition time; type a number of seconds or choose one"));
    for (QComboBox* c : {m_mode, m_timebase, m_channels, m_gate, m_preset})
        Watch(c);
    connect(m_mode, &QComboBox::currentIndexChanged, this, [this] { UpdateModeControls(); });
    connect(m_channels, &QComboBox::currentIndexChanged, this, [this] { ShowChannel(); });
    connect(m_preset->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        const uint32_t v = PresetValue();
        m_preset->setEditText(Q(PresetText(v)));
    });
    auto* acquisition = new QGroupBox(QStringLiteral("Acquisition"), this);
    auto* acqForm = new QFormLayout(acquisition);
    acqForm->addRow(QStringLiteral("Acquisition Mode"), m_mode);
    acqForm->addRow(QStringLiteral("MCS Timebase"), m_timebase);
    acqForm->addRow(m_mcsNote);
    acqForm->addRow(QStringLiteral("MCA Channels  "), m_channels);
    acqForm->addRow(QStringLiteral("Gate Input (TTL)"), m_gate);
    acqForm->addRow(QStringLiteral("Preset Time (sec) "), m_preset);

    m_percent = AddField(DppField::SlowThresholdPercent);
    connect(m_percent, &DppNumberField::Committed, this, [this] { ShowChannel(); });
    m_channel = new QLineEdit(this);
    m_channel->setToolTip(QStringLiteral("Slow threshold as a channel of the configured channels"));
    Watch(m_channel);
    connect(m_channel, &QLineEdit::returnPressed, this, [this] { CommitChannel(); });
    auto* cursor = new QPushButton(QStringLiteral("Cursor"), this);
    connect(cursor, &QPushButton::clicked, this, [this] {
        m_channel->setText(QString::number(std::max(1, host().CursorChannel())));
        MarkModified();
        CommitChannel();
    });
    auto* tune = new QPushButton(QStringLiteral("Tune Slow Threshold"), this);
    m_note = MessageField(this, 1);
    connect(tune, &QPushButton::clicked, this,
            [this] { StartTuning(MainMessage::TuneSlowThreshold, m_note); });
    m_gainScale = new QCheckBox(QStringLiteral("Gain Scale Thresholds Enable"), this);
    connect(m_gainScale, &QCheckBox::clicked, this, [this](bool on) {
        host().SetGainScaleThresholds(on);
        this->sheet().ShowGainScale(on);
    });
    m_gainScaleLabel =
        ColouredLabel(QStringLiteral("Gain Scale Thresholds Enabled"), kDarkGreen, this);
    auto* threshold = new QGroupBox(QStringLiteral("Slow Threshold"), this);
    auto* thrLayout = new QGridLayout(threshold);
    thrLayout->addWidget(new QLabel(QStringLiteral("Percent "), this), 0, 0);
    thrLayout->addWidget(m_percent, 0, 1);
    thrLayout->addWidget(new QLabel(QStringLiteral("Channel "), this), 1, 0);
    thrLayout->addWidget(m_channel, 1, 1);
    thrLayout->addWidget(cursor, 1, 2);
    thrLayout->addWidget(tune, 2, 0, 1, 2);
    thrLayout->addWidget(ColouredLabel(QStringLiteral("REMOVE SOURCE TO TUNE"), kBlue, this), 2, 2);
    thrLayout->addWidget(m_note, 3, 0, 1, 3);
    thrLayout->addWidget(m_gainScale, 4, 0, 1, 3);
    thrLayout->addWidget(m_gainScaleLabel, 5, 0, 1, 3);

    auto* count = new QGroupBox(QStringLiteral("Preset Count"), this);
    auto* countLayout = new QGridLayout(count);
    const char* countLabels[3] = {"Low Channel ", "High Channel ", "Count "};
    for (int i = 0; i < 3; ++i) {
        auto* edit = new QLineEdit(this);
        m_count[static_cast<size_t>(i)] = edit;
        Watch(edit);
        connect(edit, &QLineEdit::returnPressed, this, [this, i] { CommitCount(i); });
        countLayout->addWidget(new QLabel(QString::fromLatin1(countLabels[i]), this), i, 0);
        countLayout->addWidget(edit, i, 1);
    }
    auto* clear = new QPushButton(QStringLiteral("Clear Count"), this);
    connect(clear, &QPushButton::clicked, this, [this] {
        for (int i = 0; i < 3; ++i) {
            m_count[static_cast<size_t>(i)]->setText(QStringLiteral("0"));
            CommitCount(i);
        }
        MarkModified();
    });
    auto* roi = new QPushButton(QStringLiteral("Current ROI"), this);
    connect(roi, &QPushButton::clicked, this, [this] {
        int low = 0, high = 0;
        if (!host().SelectedRoi(low, high))
            return;
        m_count[0]->setText(QString::number(low));
        m_count[1]->setText(QString::number(high));
        CommitCount(0);
        CommitCount(1);
        MarkModified();
    });
    auto* countCursor = new QPushButton(QStringLiteral("Cursor"), this);
    connect(countCursor, &QPushButton::clicked, this, [this] {
        const int c = std::max(1, host().CursorChannel());
        m_count[0]->setText(QString::number(c - 1));
        m_count[1]->setText(QString::number(c + 1));
        CommitCount(0);
        CommitCount(1);
        MarkModified();
    });
    countLayout->addWidget(clear, 0, 2);
    countLayout->addWidget(roi, 1, 2);
    countLayout->addWidget(countCursor, 2, 2);

    m_scaSelect = new QComboBox(this);
    for (int i = 1; i <= 8; ++i)
        m_scaSelect->addItem(QStringLiteral("SCA %1 Controls").arg(i));
    m_scaEnable = new QCheckBox(QStringLiteral("Enable Channel"), this);
    m_scaLower = new QLineEdit(this);
    m_scaUpper = new QLineEdit(this);
    m_updatePresetCount = new QPushButton(QStringLiteral("Update Preset Count"), this);
    connect(m_scaSelect, &QComboBox::currentIndexChanged, this, [this](int index) {
        // Switching the shown analyzer is not an edit.
        StoreShownSca();
        const bool was = m_initialising;
        m_initialising = true;
        ShowSca(index);
        m_initialising = was;
    });
    connect(m_scaEnable, &QCheckBox::toggled, this, [this] {
        if (!m_initialising)
            MarkModified();
    });
    Watch(m_scaLower);
    Watch(m_scaUpper);
    connect(m_scaLower, &QLineEdit::returnPressed, this, [this] { CommitScaLevels(); });
    connect(m_scaUpper, &QLineEdit::returnPressed, this, [this] { CommitScaLevels(); });
    connect(m_updatePresetCount, &QPushButton::clicked, this, [this] {
        StoreShownSca();
        const uint32_t w = m_sca[7];
        m_count[0]->setText(QString::number(ScaLower(w)));
        m_count[1]->setText(QString::number(ScaUpper(w)));
        if (!ScaEnabled(w))
            m_count[2]->setText(QStringLiteral("0"));
        MarkModified();
    });
    auto* sca = new QGroupBox(QStringLiteral("Select Single Channel Analyzer"), this);
    auto* scaLayout = new QFormLayout(sca);
    scaLayout->addRow(m_scaSelect);
    scaLayout->addRow(m_scaEnable);
    scaLayout->addRow(QStringLiteral("Lower Level Threshold"), m_scaLower);
    scaLayout->addRow(QStringLiteral("Upper Level Threshold"), m_scaUpper);
    scaLayout->addRow(m_updatePresetCount);

    auto* layout = new QGridLayout(this);
    layout->addWidget(acquisition, 0, 0);
    layout->addWidget(threshold, 0, 1);
    layout->addWidget(count, 1, 0);
    layout->addWidget(sca, 1, 1);
    layout->setRowStretch(2, 1);
}

int CPropDppAnalyzer::Channels() const {
    const int index = std::clamp(m_channels->currentIndex(), 0, 5);
    return ChannelsFromCode(kChannelCodes[index]);
}

void CPropDppAnalyzer::ShowChannel() {
    const QString text = QString::number(SlowThresholdChannel(m_percent->value(), Channels()));
    if (m_channel->text() != text)
        m_channel->setText(text);
}

void CPropDppAnalyzer::CommitChannel() {
    const double c = ScanDouble(m_channel->text().toStdString()).value_or(0.0);
    m_percent->Show(SlowThresholdByteFromChannel(c, Channels()));
    ShowChannel();
}

void CPropDppAnalyzer::UpdateModeControls() {
    const bool mcs = m_mode->currentIndex() == 1;
    m_timebase->setEnabled(mcs);
    m_mcsNote->setVisible(mcs);
}

void CPropDppAnalyzer::ShowSca(int index) {
    m_shownSca = std::clamp(index, 0, 7);
    const uint32_t w = m_sca[static_cast<size_t>(m_shownSca)];
    m_scaEnable->setChecked(ScaEnabled(w));
    m_scaLower->setText(QString::number(ScaLower(w)));
    m_scaUpper->setText(QString::number(ScaUpper(w)));
    m_updatePresetCount->setVisible(m_shownSca == 7);
}

void CPropDppAnalyzer::CommitScaLevels() {
    const uint32_t lower = std::min<uint32_t>(DigitsValue(m_scaLower->text().toStdString()), 65535);
    const uint32_t upper = std::min<uint32_t>(DigitsValue(m_scaUpper->text().toStdString()), 32767);
    if (m_scaLower->text() != QString::number(lower))
        m_scaLower->setText(QString::number(lower));
    if (m_scaUpper->text() != QString::number(upper))
        m_scaUpper->setText(QString::number(upper));
}

void CPropDppAnalyzer::StoreShownSca() {
    CommitScaLevels();
    m_sca[static_cast<size_t>(m_shownSca)] =
        ScaWord(m_scaLower->text().toUInt(), m_scaUpper->text().toUInt(), m_scaEnable->isChecked());
}

void CPropDppAnalyzer::CommitCount(int which) {
    QLineEdit* edit = m_count[static_cast<size_t>(which)];
    const uint32_t v = DigitsValue(edit->text().toStdString());
    if (edit->text() != QString::number(v))
        edit->setText(QString::number(v));
    const uint32_t low = DigitsValue(m_count[0]->text().toStdString());
    const uint32_t high = DigitsValue(m_count[1]->text().toStdString());
    m_presetCount = DigitsValue(m_count[2]->text().toStdString());
    DppConfigRecord window;
    SetPresetCountWindow(window, low, high, m_presetCount);
    StoreShownSca();
    m_sca[7] = window.Sca[7];
    const bool was = m_initialising;
    m_initialising = true;
    m_scaSelect->setCurrentIndex(7);
    ShowSca(7);
    m_initialising = was;
}

uint32_t CPropDppAnalyzer::PresetValue() const {
    const QString text = m_preset->currentText();
    for (const PresetItem& p : kPresets)
        if (text == QString::fromLatin1(p.text))
            return p.value;
    return PresetFromText(text.toStdString());
}

void CPropDppAnalyzer::Fill() {
    const DppConfigRecord& r = record();
    const uint8_t firmware = host().Device().status.firmwareVersionByte;
    m_mode->setCurrentIndex(r.AcqMode == 1 ? 1 : 0);
    m_mode->setEnabled(FirmwareAtLeast(firmware, 3.11));
    m_timebase->setCurrentIndex(std::clamp<int>(r.MCSTimebase, 0, 15));
    UpdateModeControls();
    int channelIndex = 2;
    for (int i = 0; i < 6; ++i)
        if (kChannelCodes[i] == r.MCA)
            channelIndex = i;
    m_channels->setCurrentIndex(channelIndex);
    m_gate->setCurrentIndex(r.Gate == 0x80 ? 1 : r.Gate == 0xC0 ? 2 : 0);
    m_preset->setEditText(Q(PresetText(r.Preset)));
    DppFieldContext context = FieldContext();
    context.channels = Channels();
    m_percent->SetSpec(FieldSpec(DppField::SlowThresholdPercent, context));
    m_percent->Show(r.SlowChThreshold);
    ShowChannel();
    m_gainScale->setChecked(host().GainScaleThresholds());

    m_sca = r.Sca;
    m_presetCount = ScaEnabled(r.Sca[7]) ? r.PresetCount : 0;
    m_count[0]->setText(QString::number(ScaLower(r.Sca[7])));
    m_count[1]->setText(QString::number(ScaUpper(r.Sca[7])));
    m_count[2]->setText(QString::number(m_presetCount));
    m_scaSelect->setCurrentIndex(0);
    ShowSca(0);
}

void CPropDppAnalyzer::WriteBack(DppConfigRecord& r) {
    m_percent->Commit();
    StoreShownSca();
    r.Gate = static_cast<uint8_t>(m_gate->currentIndex() == 1   ? 0x80
                                  : m_gate->currentIndex() == 2 ? 0xC0
                                                                : 0x00);
    r.AcqMode = static_cast<uint8_t>(m_mode->currentIndex() == 1 ? 1 : 0);
    r.MCSTimebase = static_cast<uint8_t>(std::max(0, m_timebase->currentIndex()));
    r.MCA = kChannelCodes[std::clamp(m_channels->currentIndex(), 0, 5)];
    r.channels = ChannelsFromCode(r.MCA);
    r.Preset = PresetValue();
    r.PresetCount = m_presetCount;
    r.SlowChThreshold = static_cast<uint8_t>(m_percent->value());
    r.Sca = m_sca;
}

} // namespace vorna
