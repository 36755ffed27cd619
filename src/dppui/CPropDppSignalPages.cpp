// The pages of the analog and pulse-processing settings: Shaping, Gain & Pole Zero, Power and
// Misc.

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "common/NumberText.h"
#include "common/UserPrompt.h"
#include "dpp/DppConfigText.h"
#include "dpp/DppDevice.h"
#include "dpp/DppModels.h"
#include "dpp/DppTypes.h"
#include "dppui/CDppPropertySheet.h"
#include "dppui/DppNumberField.h"

namespace vorna {

namespace {

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

QPlainTextEdit* MessageField(QWidget* parent) {
    auto* field = new QPlainTextEdit(parent);
    field->setReadOnly(true);
    field->setFixedHeight(field->fontMetrics().lineSpacing() * 2 + 12);
    return field;
}

QComboBox* Combo(QWidget* parent, const QStringList& items) {
    auto* c = new QComboBox(parent);
    c->addItems(items);
    return c;
}

} // namespace

// --- Shaping ---

CPropDppShaping::CPropDppShaping(CDppPropertySheet& sheet) : CPropDppPage(DppPage::Shaping, sheet) {
    m_peaking = new QComboBox(this);
    m_flatTop = new QComboBox(this);
    m_pur = Combo(this, {QStringLiteral("Off"), QStringLiteral("On")});
    for (QComboBox* c : {m_peaking, m_flatTop, m_pur})
        Watch(c);
    connect(m_peaking, &QComboBox::activated, this, [this](int k) {
        DppConfigRecord r;
        r.Rise = m_rise;
        r.Avg = m_avg;
        ApplyPeakingTime(PeakingTimeFromIndex(k), r);
        m_rise = r.Rise;
        m_avg = r.Avg;
        FillFlatTop(0);
    });
    m_gainScaleLabel =
        ColouredLabel(QStringLiteral("Gain Scale Thresholds Enabled"), QColor(47, 79, 47), this);
    auto* shaping = new QGroupBox(QStringLiteral("Pulse Shaping"), this);
    auto* shapingForm = new QFormLayout(shaping);
    shapingForm->addRow(QStringLiteral("Peaking Time"), m_peaking);
    shapingForm->addRow(QStringLiteral("FlatTop Width"), m_flatTop);
    shapingForm->addRow(QStringLiteral("Pile-Up Rejection (PUR)"), m_pur);

    m_fast = AddField(DppField::FastThreshold);
    m_tuneFast = new QPushButton(QStringLiteral("Tune Fast Threshold"), this);
    m_note = MessageField(this);
    connect(m_tuneFast, &QPushButton::clicked, this, [this] {
        m_tuneFast->setEnabled(false);
        StartTuning(MainMessage::TuneFastThreshold, m_note);
    });
    auto* fast = new QGroupBox(QStringLiteral("Fast Channel"), this);
    auto* fastLayout = new QGridLayout(fast);
    fastLayout->addWidget(new QLabel(QStringLiteral("Fast Threshold"), this), 0, 0);
    fastLayout->addWidget(m_fast, 0, 1);
    fastLayout->addWidget(m_tuneFast, 1, 0);
    fastLayout->addWidget(
        ColouredLabel(QStringLiteral("REMOVE SOURCE TO TUNE"), QColor(0, 0, 255), this), 1, 1);
    fastLayout->addWidget(m_note, 2, 0, 1, 2);
    fastLayout->addWidget(m_gainScaleLabel, 3, 0, 1, 2);

    m_rtd = Combo(this, {QStringLiteral("Off"), QStringLiteral("On")});
    Watch(m_rtd);
    m_rtdSlow = AddField(DppField::RtdSlow);
    m_rtdFast = AddField(DppField::RtdFast);
    auto* rtd = new QGroupBox(QStringLiteral("Rise Time Discrimination"), this);
    auto* rtdForm = new QFormLayout(rtd);
    rtdForm->addRow(QStringLiteral("Rise Time Discrimination"), m_rtd);
    rtdForm->addRow(QStringLiteral("RTD Slow Threshold"), m_rtdSlow);
    rtdForm->addRow(QStringLiteral("RTD Fast Threshold"), m_rtdFast);

    DppFieldSpec blrSpec;
    blrSpec.minimum = 0;
    blrSpec.maximum = 16;
    blrSpec.wrap = false;
    blrSpec.typed = false;
    blrSpec.text = [this](int p) {
        return BlrText(static_cast<uint8_t>(BlrFromSpinPosition(p)), FastClock());
    };
    blrSpec.tip = "Baseline restoration rates";
    m_blrSpin = AddField(blrSpec);
    connect(m_blrSpin, &DppNumberField::Committed, this,
            [this](int p) { SetBlr(BlrFromSpinPosition(p)); });
    m_down = new QComboBox(this);
    m_up = new QComboBox(this);
    m_blrOn = Combo(this, {QStringLiteral("Off"), QStringLiteral("On")});
    for (QComboBox* c : {m_down, m_up, m_blrOn})
        Watch(c);
    connect(m_down, &QComboBox::activated, this,
            [this](int i) { SetBlr(BlrWithDownCorrection(m_blr, i)); });
    connect(m_up, &QComboBox::activated, this,
            [this](int i) { SetBlr(BlrWithUpCorrection(m_blr, i)); });
    connect(m_blrOn, &QComboBox::activated, this, [this](int i) {
        SetBlr(i == 0 ? 63 : BlrFromSpinPosition(std::max(1, m_blrSpin->value())));
    });
    auto quick = [this](const char* text, int blr) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        connect(b, &QPushButton::clicked, this, [this, blr] {
            SetBlr(blr);
            MarkModified();
        });
        return b;
    };
    auto* blr = new QGroupBox(QStringLiteral("Baseline Restoration"), this);
    auto* blrLayout = new QGridLayout(blr);
    auto* quickRow = new QHBoxLayout;
    quickRow->addWidget(new QLabel(QStringLiteral("Baseline Restoration Quickset"), this));
    quickRow->addWidget(quick("Slow", 100));
    quickRow->addWidget(quick("Medium", 104));
    quickRow->addWidget(quick("Fast", 124));
    blrLayout->addLayout(quickRow, 0, 0, 1, 3);
    auto* downLabel = new QLabel(QStringLiteral("Down Correction"), this);
    auto* upLabel = new QLabel(QStringLiteral("Up Correction"), this);
    auto* onLabel = new QLabel(QStringLiteral("BLR"), this);
    blrLayout->addWidget(m_blrSpin, 1, 0, 1, 2);
    blrLayout->addWidget(quick("Reset", 64), 1, 2);
    blrLayout->addWidget(onLabel, 2, 0);
    blrLayout->addWidget(m_blrOn, 2, 1);
    blrLayout->addWidget(downLabel, 3, 0);
    blrLayout->addWidget(m_down, 3, 1);
    blrLayout->addWidget(upLabel, 4, 0);
    blrLayout->addWidget(m_up, 4, 1);
    m_blrControls = {m_blrSpin, m_down, m_up, downLabel, upLabel};

    auto* layout = new QGridLayout(this);
    layout->addWidget(shaping, 0, 0);
    layout->addWidget(fast, 0, 1);
    layout->addWidget(rtd, 1, 0);
    layout->addWidget(blr, 1, 1);
    layout->setRowStretch(2, 1);
}

bool CPropDppShaping::FastClock() const {
    return IsOspreyClass(deviceType()) && host().Device().status.FastClock();
}

void CPropDppShaping::FillFlatTop(int selected) {
    const bool was = m_initialising;
    m_initialising = true;
    m_flatTop->clear();
    for (const std::string& t : FlatTopList(m_avg, FastClock()))
        m_flatTop->addItem(Q(t));
    m_flatTop->setCurrentIndex(std::clamp(selected, 0, kFlatTopCount - 1));
    m_initialising = was;
}

void CPropDppShaping::SetBlr(int blr) {
    m_blr = NormalizedBlr(blr);
    const bool was = m_initialising;
    m_initialising = true;
    m_blrSpin->Show(BlrSpinPosition(m_blr));
    const bool on = (m_blr & 0x40) != 0;
    m_blrOn->setCurrentIndex(on ? 1 : 0);
    m_down->setCurrentIndex((m_blr >> 4) & 3);
    m_up->setCurrentIndex((m_blr >> 2) & 3);
    for (QWidget* w : m_blrControls)
        w->setEnabled(on);
    m_initialising = was;
}

void CPropDppShaping::Fill() {
    const DppConfigRecord& r = record();
    const bool fast = FastClock();
    m_peaking->clear();
    for (double t : PeakingTimeList(fast))
        m_peaking->addItem(Q(Format("%.1fuS", t)));
    m_rise = r.Rise;
    m_avg = r.Avg;
    m_peaking->setCurrentIndex(
        std::clamp(PeakingTimeIndex(r.Rise, r.Avg), 0, kPeakingTimeCount - 1));
    FillFlatTop(r.FlatTop);
    m_pur->setCurrentIndex(r.PUREnable ? 1 : 0);
    m_fast->Show(r.FastChThreshold);
    m_tuneFast->setEnabled(FirmwareAtLeast(host().Device().status.firmwareVersionByte, 3.11));
    m_rtd->setCurrentIndex(r.RTDOn ? 1 : 0);
    const DppFieldContext context = FieldContext();
    m_rtdSlow->SetSpec(FieldSpec(DppField::RtdSlow, context));
    m_rtdFast->SetSpec(FieldSpec(DppField::RtdFast, context));
    m_rtdSlow->Show(r.RTDSlow);
    m_rtdFast->Show(r.RTDFast >= 4 && r.RTDFast <= 19 ? r.RTDFast : 10);
    const QStringList rates = fast
                                  ? QStringList{QStringLiteral("Slow"), QStringLiteral("Medium"),
                                                QStringLiteral("Fast"), QStringLiteral("Very Fast")}
                                  : QStringList{QStringLiteral("Very Slow"), QStringLiteral("Slow"),
                                                QStringLiteral("Medium"), QStringLiteral("Fast")};
    m_down->clear();
    m_down->addItems(rates);
    m_up->clear();
    m_up->addItems(rates);
    SetBlr(r.BLR);
}

void CPropDppShaping::WriteBack(DppConfigRecord& r) {
    r.FastChThreshold = static_cast<uint8_t>(m_fast->Commit());
    r.Rise = m_rise;
    r.Avg = m_avg;
    r.FlatTop = std::max(0, m_flatTop->currentIndex());
    r.PUREnable = m_pur->currentIndex() == 1 ? 1 : 0;
    r.RTDOn = static_cast<uint8_t>(m_rtd->currentIndex() == 1 ? 1 : 0);
    r.RTDSlow = static_cast<uint8_t>(m_rtdSlow->value());
    r.RTDFast = static_cast<uint8_t>(m_rtdFast->value());
    r.BLR = static_cast<uint8_t>(m_blr);
}

// --- Gain & Pole Zero ---

CPropDppGainPZ::CPropDppGainPZ(CDppPropertySheet& sheet)
    : CPropDppPage(DppPage::GainPoleZero, sheet) {
    m_coarse = AddField(DppField::CoarseGain);
    connect(m_coarse->Edit(), &QLineEdit::textEdited, this, [this] { m_coarseTyped = true; });
    m_fine = AddField(DppField::FineGain);
    for (DppNumberField* f : {m_coarse, m_fine})
        connect(f, &DppNumberField::Committed, this, [this] { ShowTotal(); });
    m_total = new QLineEdit(this);
    m_total->setToolTip(QStringLiteral("Type a total gain; coarse and fine gain follow"));
    Watch(m_total);
    connect(m_total, &QLineEdit::returnPressed, this, [this] { CommitTotal(); });
    auto* startStop = new QPushButton(QStringLiteral("Start/Stop Acquisition"), this);
    connect(startStop, &QPushButton::clicked, this, [this] { host().StartStopAcquisition(); });
    auto* clear = new QPushButton(QStringLiteral("Delete Data and Reset Time"), this);
    connect(clear, &QPushButton::clicked, this, [this] { host().DeleteDataAndResetTime(); });
    auto* zoomUp = new QToolButton(this);
    zoomUp->setArrowType(Qt::UpArrow);
    auto* zoomDown = new QToolButton(this);
    zoomDown->setArrowType(Qt::DownArrow);
    connect(zoomUp, &QToolButton::clicked, this, [this] { host().StepVerticalZoom(true); });
    connect(zoomDown, &QToolButton::clicked, this, [this] { host().StepVerticalZoom(false); });

    auto* gain = new QGroupBox(QStringLiteral("Gain"), this);
    auto* gainForm = new QFormLayout(gain);
    gainForm->addRow(QStringLiteral("Coarse"), m_coarse);
    gainForm->addRow(QStringLiteral("Fine"), m_fine);
    gainForm->addRow(QStringLiteral("Enter Gain Value"), m_total);
    auto* zoom = new QHBoxLayout;
    zoom->addWidget(zoomDown);
    zoom->addWidget(zoomUp);
    zoom->addStretch();
    gainForm->addRow(QStringLiteral("Vertical Scale"), zoom);
    gainForm->addRow(startStop);
    gainForm->addRow(clear);

    m_poleZero = AddField(DppField::PoleZero);
    m_inputOffset = AddField(DppField::InputOffset);
    connect(m_inputOffset, &DppNumberField::Committed, this, [this] { UpdateOspreyNote(); });
    m_note = MessageField(this);
    m_tuneOffset = new QPushButton(QStringLiteral("Tune Input Offset"), this);
    connect(m_tuneOffset, &QPushButton::clicked, this, [this] {
        m_tuneOffset->setEnabled(false);
        StartTuning(MainMessage::TuneInputOffset, m_note);
    });
    m_polarity = Combo(this, {QStringLiteral("Positive"), QStringLiteral("Negative")});
    m_detReset = new QComboBox(this);
    for (QComboBox* c : {m_polarity, m_detReset})
        Watch(c);
    m_ospreyDefault = new QPushButton(QStringLiteral("Osprey Default Input Offset"), this);
    connect(m_ospreyDefault, &QPushButton::clicked, this, [this] {
        m_inputOffset->Show(0);
        UpdateOspreyNote();
        MarkModified();
    });
    m_ospreyNote = ColouredLabel(QStringLiteral("Osprey Default Input Offset Mode (-2.048)\n"
                                                "(Osprey Selects Default Value)"),
                                 QColor(0, 0, 255), this);
    auto* input = new QGroupBox(QStringLiteral("Input"), this);
    auto* inputForm = new QFormLayout(input);
    inputForm->addRow(QStringLiteral("Pole Zero"), m_poleZero);
    inputForm->addRow(QStringLiteral("Input Offset"), m_inputOffset);
    inputForm->addRow(m_tuneOffset);
    inputForm->addRow(m_ospreyDefault);
    inputForm->addRow(m_ospreyNote);
    inputForm->addRow(QStringLiteral("Input Polarity"), m_polarity);
    inputForm->addRow(QStringLiteral("Detector Reset Lockout Period"), m_detReset);
    inputForm->addRow(m_note);

    auto* layout = new QGridLayout(this);
    layout->addWidget(gain, 0, 0);
    layout->addWidget(input, 0, 1);
    layout->setRowStretch(1, 1);
}

void CPropDppGainPZ::ShowTotal() {
    const double total =
        CoarseGainValue(deviceType(), m_coarse->value()) * m_fine->value() / 8192.0;
    m_total->setText(Q(Format("%.2fx", total)));
}

void CPropDppGainPZ::CommitTotal() {
    if (!IsPloverClass(deviceType()))
        return;
    const double t = ScanDouble(m_total->text().toStdString()).value_or(0.0);
    const DppGainChoice c = ChooseTotalGain(t, deviceType());
    m_coarse->Show(c.code);
    m_fine->Show(c.fine);
    m_coarseTyped = false;
    ShowTotal();
    m_totalGainCommitted = true;
}

void CPropDppGainPZ::UpdateOspreyNote() {
    const bool osprey = deviceType() == static_cast<int>(DppDeviceType::Osprey);
    m_ospreyDefault->setVisible(osprey);
    m_ospreyNote->setVisible(osprey && m_inputOffset->value() == 0);
}

void CPropDppGainPZ::Fill() {
    const DppConfigRecord& r = record();
    const int type = deviceType();
    const DppFieldContext context = FieldContext();
    m_coarse->SetSpec(FieldSpec(DppField::CoarseGain, context));
    m_fine->SetSpec(FieldSpec(DppField::FineGain, context));
    m_coarse->Show(r.CoarseGain);
    m_fine->Show(r.PloverFineGain);
    ShowTotal();
    m_poleZero->Show(r.PoleZero);
    m_inputOffset->Show(r.PloverInputOffset);
    m_polarity->setCurrentIndex(r.InvertEn ? 1 : 0);
    m_detReset->clear();
    for (const std::string& t :
         DetResetTexts(IsOspreyClass(type) && host().Device().status.FastClock()))
        m_detReset->addItem(Q(t));
    m_detReset->setCurrentIndex(std::clamp<int>(r.DetReset, 0, 8));
    const bool plover = IsPloverClass(type);
    for (QWidget* w : std::initializer_list<QWidget*>{m_total, m_poleZero, m_inputOffset,
                                                      m_tuneOffset, m_polarity})
        w->setEnabled(plover);
    m_coarseTyped = false;
    m_totalGainCommitted = false;
    UpdateOspreyNote();
}

void CPropDppGainPZ::WriteBack(DppConfigRecord& r) {
    const int type = deviceType();
    m_poleZero->Commit();
    m_inputOffset->Commit();
    if (m_coarseTyped) {
        m_coarse->Commit();
        m_coarseTyped = false;
    }
    m_fine->Commit();
    if (m_totalGainCommitted) {
        CommitTotal();
        m_totalGainCommitted = false;
        const double t = ScanDouble(m_total->text().toStdString()).value_or(0.0);
        host().ShowTotalGain(Format("%.2f", t), t);
    }
    r.DetReset = static_cast<uint8_t>(std::max(0, m_detReset->currentIndex()));
    r.PoleZero = m_poleZero->value();
    r.PloverInputOffset = m_inputOffset->value();
    // A new coarse step moves the input's operating point: the offset is found again.
    if (IsPloverClass(type) && m_coarse->value() != r.CoarseGain)
        state().offsetRetune = true;
    r.CoarseGain = m_coarse->value();
    r.PloverFineGain = m_fine->value();
    r.InvertEn = m_polarity->currentIndex() == 1 ? 1 : 0;
    const DppTotalGain total = TotalGain(r, type);
    host().ShowTotalGain(total.text, total.value);
}

// --- Power ---

CPropDppPower::CPropDppPower(CDppPropertySheet& sheet) : CPropDppPage(DppPage::Power, sheet) {
    m_tec = AddField(DppField::Tec);
    m_tecMonitor = new QLabel(this);
    m_hvList = Combo(this, {QStringLiteral("Disabled"), QStringLiteral("Enabled")});
    Watch(m_hvList);
    m_hv = AddField(DppField::HighVoltage);
    connect(m_hv, &DppNumberField::Committed, this, [this](int v) {
        const bool was = m_initialising;
        m_initialising = true;
        m_hvList->setCurrentIndex(v != 0 ? 1 : 0);
        m_initialising = was;
    });
    connect(m_hvList, &QComboBox::activated, this, [this](int index) {
        if (index == 0) {
            m_hv->Edit()->setText(QStringLiteral("0"));
            m_hv->Commit();
        }
    });
    m_hvMonitor = new QLabel(this);
    m_boardMonitor = new QLabel(this);
    m_preamp = Combo(this, {QStringLiteral("5.0V"), QStringLiteral("8.5V")});
    Watch(m_preamp);

    auto* tec = new QGroupBox(QStringLiteral("Detector Cooler"), this);
    auto* tecForm = new QFormLayout(tec);
    tecForm->addRow(QStringLiteral("Set Point "), m_tec);
    tecForm->addRow(QStringLiteral("TEC Temperature Monitor"), m_tecMonitor);
    auto* hv = new QGroupBox(QStringLiteral("High Voltage"), this);
    auto* hvForm = new QFormLayout(hv);
    hvForm->addRow(QStringLiteral("High Voltage"), m_hvList);
    hvForm->addRow(QStringLiteral("Setting"), m_hv);
    hvForm->addRow(QStringLiteral("High Voltage Monitor"), m_hvMonitor);
    auto* board = new QGroupBox(QStringLiteral("Board"), this);
    auto* boardForm = new QFormLayout(board);
    boardForm->addRow(QStringLiteral("Board Temperature Monitor"), m_boardMonitor);
    boardForm->addRow(QStringLiteral("Preamp Voltage"), m_preamp);

    auto* layout = new QGridLayout(this);
    layout->addWidget(tec, 0, 0);
    layout->addWidget(hv, 0, 1);
    layout->addWidget(board, 1, 0);
    layout->setRowStretch(2, 1);

    m_monitorTimer.setObjectName(QStringLiteral("dpp_power_monitor"));
    connect(&m_monitorTimer, &QTimer::timeout, this, [this] { Monitor(); });
    m_monitorTimer.start(1000);
}

void CPropDppPower::Monitor() {
    if (host().LinkBusy())
        return;
    if (!host().Acquiring())
        host().RefreshStatus();
    if (!host().Connected())
        return;
    const DppStatusRecord& s = host().Device().status;
    m_tecMonitor->setText(QString::fromLatin1(s.tecText.c_str()));
    m_hvMonitor->setText(QString::fromLatin1(s.hvText.c_str()));
    m_boardMonitor->setText(QString::fromLatin1(s.boardTempText.c_str()));
}

void CPropDppPower::Fill() {
    const DppConfigRecord& r = record();
    const int type = deviceType();
    const DppFieldContext context = FieldContext();
    m_hv->SetSpec(FieldSpec(DppField::HighVoltage, context));
    m_tec->Show(r.TEC);
    m_hv->Show(r.HV);
    m_hvList->setCurrentIndex(r.HV != 0 ? 1 : 0);
    m_preamp->setCurrentIndex(r.SEL8_5V ? 1 : 0);
    const bool plover = IsPloverClass(type);
    const bool hvEnabled = plover || host().Device().status.directHighVoltage;
    for (QWidget* w : std::initializer_list<QWidget*>{m_tec, m_tecMonitor, m_boardMonitor})
        w->setEnabled(plover);
    for (QWidget* w : std::initializer_list<QWidget*>{m_hvList, m_hv, m_hvMonitor})
        w->setEnabled(hvEnabled);
    m_preamp->setEnabled(type == static_cast<int>(DppDeviceType::Plover));
}

void CPropDppPower::WriteBack(DppConfigRecord& r) {
    r.TEC = m_tec->Commit();
    r.HV = m_hv->Commit();
    r.HVEnabled = r.HV != 0 ? 1 : 0;
    r.SEL8_5V = m_preamp->currentIndex() != 0 ? 1 : 0;
}

// --- Misc ---

CPropDppMisc::CPropDppMisc(CDppPropertySheet& sheet) : CPropDppPage(DppPage::Misc, sheet) {
    m_analogOut = Combo(this, AnalogOutChoices());
    Watch(m_analogOut);
    m_offset = AddField(DppField::OutputOffset);
    connect(m_analogOut, &QComboBox::activated, this, [this](int index) {
        if (index == 2)
            m_offset->Show(0);
    });
    m_aux = Combo(this, AuxOutChoices());
    m_audio = Combo(this, {QStringLiteral("Off"), QStringLiteral("Low"), QStringLiteral("Medium"),
                           QStringLiteral("High")});
    for (QComboBox* c : {m_aux, m_audio})
        Watch(c);
    m_scope = new QPushButton(QStringLiteral("Oscilloscope"), this);
    m_scope->setIcon(style()->standardIcon(QStyle::SP_ComputerIcon));
    m_scope->setToolTip(QStringLiteral("Show the DPP's signal trace"));
    connect(m_scope, &QPushButton::clicked, this, [this] {
        host().Post(MainMessage::ScopeStep);
        this->sheet().reject();
    });
    m_showUpdates = new QCheckBox(QStringLiteral("Show updates dialog at startup."), this);
    connect(m_showUpdates, &QCheckBox::toggled, this, [this] {
        if (!m_initialising)
            MarkModified();
    });
    auto* outputs = new QGroupBox(QStringLiteral("Outputs"), this);
    auto* outForm = new QFormLayout(outputs);
    outForm->addRow(QStringLiteral("Analog Out "), m_analogOut);
    outForm->addRow(QStringLiteral("Output Offset "), m_offset);
    outForm->addRow(QStringLiteral("Aux "), m_aux);
    outForm->addRow(QStringLiteral("Audible Counter"), m_audio);
    outForm->addRow(m_scope);
    outForm->addRow(m_showUpdates);

    m_sendText = new QLineEdit(this);
    m_sendText->setMaxLength(64);
    m_send = new QPushButton(QStringLiteral("Send Plover Text"), this);
    m_readText = new QLineEdit(this);
    m_readText->setReadOnly(true);
    m_read = new QPushButton(QStringLiteral("Read Plover Text"), this);
    connect(m_send, &QPushButton::clicked, this, [this] { SendText(); });
    connect(m_read, &QPushButton::clicked, this, [this] { ReadText(); });
    auto* descriptor = new QGroupBox(QStringLiteral("Plover Descriptor Text"), this);
    auto* descLayout = new QGridLayout(descriptor);
    descLayout->addWidget(m_send, 0, 0);
    descLayout->addWidget(m_sendText, 0, 1);
    descLayout->addWidget(m_read, 1, 0);
    descLayout->addWidget(m_readText, 1, 1);
    descLayout->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(outputs);
    layout->addWidget(descriptor);
    layout->addStretch();
}

void CPropDppMisc::SendText() {
    m_send->setEnabled(false);
    m_sendText->setEnabled(false);
    const std::string text = m_sendText->text().toStdString();
    if (!text.empty()) {
        host().WriteDescriptorText(text);
    } else if (host().Prompt().question("No Plover descriptor text has been entered. \n This will "
                                        "erase the Plover text. \n Are you sure you want to erase "
                                        "the text?",
                                        false) == PromptAnswer::Yes) {
        host().WriteDescriptorText(std::string());
    }
    m_send->setEnabled(true);
    m_sendText->setEnabled(true);
}

void CPropDppMisc::ReadText() {
    m_read->setEnabled(false);
    m_readText->setEnabled(false);
    m_readText->setText(QString::fromLatin1(host().ReadDescriptorText().c_str()));
    m_read->setEnabled(true);
    m_readText->setEnabled(true);
}

void CPropDppMisc::Fill() {
    const DppConfigRecord& r = record();
    const int type = deviceType();
    m_analogOut->setCurrentIndex(AnalogOutIndex(r));
    m_offset->Show(r.Offset);
    m_aux->setCurrentIndex(std::clamp(r.AuxOut, 0, 7));
    m_aux->setEnabled(IsPloverClass(type));
    m_audio->setCurrentIndex(((r.IndLED & 1) << 1) | (r.IndBuzzer & 1));
    m_audio->setEnabled(type == static_cast<int>(DppDeviceType::Plover));
    m_showUpdates->setChecked(host().ShowUpdatesAtStartup());
    const bool descriptor = type == static_cast<int>(DppDeviceType::Plover) &&
                            FirmwareAtLeast(host().Device().status.firmwareVersionByte, 3.13);
    for (QWidget* w : std::initializer_list<QWidget*>{m_send, m_sendText, m_read, m_readText})
        w->setEnabled(descriptor);
}

void CPropDppMisc::WriteBack(DppConfigRecord& r) {
    r.Offset = m_offset->Commit();
    ApplyAnalogOutIndex(r, m_analogOut->currentIndex());
    if (m_analogOut->currentIndex() == 2)
        r.Offset = m_offset->value();
    r.AuxOut = std::max(0, m_aux->currentIndex());
    const int audio = std::max(0, m_audio->currentIndex());
    r.IndLED = (audio >> 1) & 1;
    r.IndBuzzer = audio & 1;
    host().SetShowUpdatesAtStartup(m_showUpdates->isChecked());
}

} // namespace vorna
