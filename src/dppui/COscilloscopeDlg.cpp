#include "dppui/COscilloscopeDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRegion>
#include <QStyleOptionFrame>
#include <QVBoxLayout>

#include "dpp/DppDevice.h"
#include "dpp/DppFieldConversions.h"
#include "dpp/DppScopeGeometry.h"
#include "dpp/DppTypes.h"
#include "dppui/CDppPropertySheet.h"
#include "dppui/DppNumberField.h"

namespace vorna {

// --- trace display ---

COscilloscope::COscilloscope(QWidget* parent) : QWidget(parent) {
    setMinimumSize(256, 256);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void COscilloscope::ShowTrace(const std::array<uint8_t, 512>& samples) {
    if (!m_persistence)
        m_traces.clear();
    m_traces.push_back(samples);
    update();
}

void COscilloscope::ClearTraces() {
    m_traces.clear();
    update();
}

void COscilloscope::SetTriggerPosition(int position) {
    m_triggerPosition = position;
    update();
}

void COscilloscope::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().button());
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.frameShape = QFrame::Panel;
    frame.state |= QStyle::State_Sunken;
    frame.lineWidth = 2;
    style()->drawPrimitive(QStyle::PE_Frame, &frame, &p, this);
    // Logical 256 x 256 area inside the border.
    const QRectF area = QRectF(rect()).adjusted(3, 3, -3, -3);
    p.translate(area.topLeft());
    p.scale(area.width() / kScopeLogicalSize, area.height() / kScopeLogicalSize);

    QPen grid(palette().mid().color(), 0);
    p.setPen(grid);
    for (int v = 0; v <= kScopeLogicalSize; v += kScopeGridStep) {
        p.drawLine(QPointF(v, 0), QPointF(v, kScopeLogicalSize));
        p.drawLine(QPointF(0, v), QPointF(kScopeLogicalSize, v));
    }
    if (const std::optional<int> x = ScopeTriggerMarkerX(m_triggerPosition)) {
        QPen marker(palette().windowText().color(), 0, Qt::CustomDashLine);
        marker.setDashPattern({8, 8});
        p.setPen(marker);
        p.drawLine(QPointF(*x, 0), QPointF(*x, kScopeMarkerBottom));
    }
    QPen trace(QColor(255, 0, 0), 2);
    trace.setCosmetic(true);
    p.setPen(trace);
    for (const auto& samples : m_traces) {
        QPolygonF line;
        line.reserve(static_cast<int>(samples.size()));
        for (size_t i = 0; i < samples.size(); ++i) {
            const ScopePoint pt = ScopeSamplePoint(static_cast<int>(i), samples[i]);
            line << QPointF(pt.x, pt.y);
        }
        p.drawPolyline(line);
    }
}

// --- window ---

COscilloscopeDlg::COscilloscopeDlg(DppScopePort& port, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::FramelessWindowHint), m_port(port) {
    setObjectName(QStringLiteral("dpp_oscilloscope"));
    setWindowTitle(QStringLiteral("Oscilloscope"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_display = new COscilloscope(this);

    m_input = new QComboBox(this);
    m_input->addItems(AnalogOutChoices());
    m_outputOffset = new DppNumberField(FieldSpec(DppField::OutputOffset, {}), this);
    DppFieldSpec inputSpec = FieldSpec(DppField::InputOffset, {});
    inputSpec.text = [](int v) { return std::to_string(v); };
    inputSpec.read = [](std::string_view t) {
        return std::clamp(std::atoi(std::string(t).c_str()), 0, 4095);
    };
    inputSpec.maximum = 4095;
    inputSpec.step = 1;
    m_inputOffset = new DppNumberField(inputSpec, this);
    m_timebase = new QComboBox(this);
    m_timebase->addItems({QStringLiteral("3.2uS/Div"), QStringLiteral("6.4uS/Div"),
                          QStringLiteral("12.8uS/Div"), QStringLiteral("25.6uS/Div"),
                          QStringLiteral("51.2uS/Div")});
    m_aux = new QComboBox(this);
    m_aux->addItems(AuxOutChoices());
    m_position = new QComboBox(this);
    m_position->addItems({QStringLiteral("87% Pretrigger"), QStringLiteral("50% Pretrigger"),
                          QStringLiteral("12% Pretrigger"), QStringLiteral("25% Delayed Trigger")});
    m_slope = new QComboBox(this);
    m_slope->addItems({QStringLiteral("Rising Edge"), QStringLiteral("Falling Edge")});
    m_autoReArm = new QCheckBox(QStringLiteral("Auto ReArm"), this);
    m_persistence = new QCheckBox(QStringLiteral("Persistence"), this);
    m_arm = new QPushButton(QStringLiteral("Arm Trigger"), this);
    auto* clear = new QPushButton(QStringLiteral("Clear Trace"), this);
    auto* capture = new QPushButton(QStringLiteral("Capture Trace"), this);
    auto* refresh = new QPushButton(QStringLiteral("Refresh"), this);
    auto* minimise = new QPushButton(QStringLiteral("_"), this);
    auto* close = new QPushButton(QStringLiteral("X"), this);
    for (QPushButton* b : {minimise, close})
        b->setFixedWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("XX")) + 12);

    for (QComboBox* c : {m_input, m_aux})
        connect(c, &QComboBox::activated, this, [this] { Apply(); });
    connect(m_input, &QComboBox::activated, this, [this](int index) {
        if (index == 2)
            m_outputOffset->Show(0);
    });
    for (DppNumberField* f : {m_outputOffset, m_inputOffset})
        connect(f, &DppNumberField::Committed, this, [this] {
            if (!m_loading)
                Apply();
        });
    connect(m_position, &QComboBox::activated, this, [this](int index) {
        m_port.Device().config.ScopeTriggerPosition = index;
        m_display->SetTriggerPosition(index);
        m_port.SendAndSaveConfiguration();
    });
    connect(m_slope, &QComboBox::activated, this, [this](int index) {
        m_port.Device().config.ScopeTriggerFalling = static_cast<uint8_t>(index == 1);
        m_port.SendAndSaveConfiguration();
    });
    connect(m_autoReArm, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_loading)
            m_port.SetAutoReArm(on);
    });
    connect(m_persistence, &QCheckBox::toggled, m_display, &COscilloscope::SetPersistence);
    connect(m_arm, &QPushButton::clicked, this, [this] {
        if (m_port.Connected())
            m_port.ArmTrigger();
    });
    connect(clear, &QPushButton::clicked, m_display, &COscilloscope::ClearTraces);
    connect(capture, &QPushButton::clicked, this, [this] { m_port.CaptureWindow(*this); });
    connect(refresh, &QPushButton::clicked, this, [this, refresh] {
        refresh->setEnabled(false);
        m_port.Device().configurationLoaded = true;
        m_port.ReopenLink();
        if (m_port.ControlsStale())
            LoadControls();
        refresh->setEnabled(true);
    });
    connect(minimise, &QPushButton::clicked, this, &QWidget::showMinimized);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* title = new QHBoxLayout;
    title->addWidget(new QLabel(QStringLiteral("<b>DPP Oscilloscope</b>"), this));
    title->addStretch();
    title->addWidget(minimise);
    title->addWidget(close);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Input (Analog Out)"), m_input);
    form->addRow(QStringLiteral("Output Offset "), m_outputOffset);
    form->addRow(QStringLiteral("Input Offset"), m_inputOffset);
    form->addRow(QStringLiteral("Timebase"), m_timebase);
    form->addRow(QStringLiteral("Trigger Source (Aux)"), m_aux);
    form->addRow(QStringLiteral("Trigger Position"), m_position);
    form->addRow(QStringLiteral("Trigger Slope"), m_slope);
    form->addRow(m_autoReArm);
    form->addRow(m_persistence);
    auto* buttons = new QGridLayout;
    buttons->addWidget(m_arm, 0, 0);
    buttons->addWidget(clear, 0, 1);
    buttons->addWidget(capture, 1, 0);
    buttons->addWidget(refresh, 1, 1);
    form->addRow(buttons);
    auto* body = new QHBoxLayout;
    body->addWidget(m_display, 1);
    body->addLayout(form);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 12, 18, 18);
    layout->addLayout(title);
    layout->addLayout(body);

    m_timer.setObjectName(QStringLiteral("dpp_scope_timer"));
    connect(&m_timer, &QTimer::timeout, this, [this] { Tick(); });
    LoadControls();
    m_timer.start(kRefreshMs);
}

void COscilloscopeDlg::LoadControls() {
    const DppConfigRecord& r = m_port.Device().config;
    m_loading = true;
    m_input->setCurrentIndex(AnalogOutIndex(r));
    m_outputOffset->Show(r.Offset);
    m_inputOffset->Show(r.PloverInputOffset);
    m_inputOffset->setEnabled(IsPloverClass(m_port.DeviceType()));
    m_aux->setCurrentIndex(std::clamp(r.AuxOut, 0, 7));
    m_position->setCurrentIndex(std::clamp(r.ScopeTriggerPosition, 0, 3));
    m_slope->setCurrentIndex(r.ScopeTriggerFalling ? 1 : 0);
    m_autoReArm->setChecked(m_port.AutoReArm());
    m_display->SetTriggerPosition(r.ScopeTriggerPosition);
    m_loading = false;
    m_port.ClearControlsStale();
}

void COscilloscopeDlg::Apply() {
    DppConfigRecord& r = m_port.Device().config;
    ApplyAnalogOutIndex(r, m_input->currentIndex());
    r.Offset = m_outputOffset->value();
    r.AuxOut = std::max(0, m_aux->currentIndex());
    if (IsPloverClass(m_port.DeviceType()))
        r.PloverInputOffset = m_inputOffset->value();
    m_port.SendAndSaveConfiguration();
}

void COscilloscopeDlg::Tick() {
    if (!m_port.Connected() || m_port.LinkBusy())
        return;
    if (m_port.ControlsStale())
        LoadControls();
    m_port.RefreshStatus();
    update();
    std::array<uint8_t, 512> trace{};
    if (m_port.ReadTrace(trace)) {
        m_display->ShowTrace(trace);
        ++m_tracesShown;
    }
    if (m_autoReArm->isChecked())
        m_port.ArmTrigger();
}

void COscilloscopeDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), 15, 15);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void COscilloscopeDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
    QDialog::mousePressEvent(event);
}

void COscilloscopeDlg::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton)
        move(event->globalPosition().toPoint() - m_dragOffset);
    QDialog::mouseMoveEvent(event);
}

} // namespace vorna
