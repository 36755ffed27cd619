#include "app/InfoPane.h"

#include <QFontInfo>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <mutex>

#include "app/TextConvert.h"
#include "appcore/ProgramState.h"

namespace vorna {

QColor ColorFromRgbWord(int bgr) {
    const auto v = static_cast<unsigned>(bgr);
    return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

int RgbWordFromColor(const QColor& c) {
    return static_cast<int>(static_cast<unsigned>(c.red()) |
                            (static_cast<unsigned>(c.green()) << 8) |
                            (static_cast<unsigned>(c.blue()) << 16));
}

InfoPane::InfoPane(ProgramState& state, QWidget* parent) : QWidget(parent), m_state(state) {
    setObjectName("InfoPane");
    ApplyProfileLook();
}

void InfoPane::ApplyProfileLook() {
    const CSProfile& p = m_state.Profile();
    m_background = ColorFromRgbWord(p.infoColor);
    QFont f = font();
    if (!p.infoFont.face.empty())
        f.setFamily(FromCore(p.infoFont.face));
    if (p.infoFont.height != 0)
        f.setPixelSize(std::abs(p.infoFont.height));
    if (p.infoFont.weight >= 700)
        f.setBold(true);
    setFont(f);
    update();
}

void InfoPane::Refresh() {
    m_cells.clear();
    CSpectraList& list = m_state.Spectra();
    auto listGuard = list.Lock();
    const CSpectrum* s = list.GetActive();
    if (s) {
        const CSProfile& p = m_state.Profile();
        InfoPaneInput in;
        in.deviceType = p.deviceType;
        in.listPosition = list.GetActivePosition();
        in.acquireMode = p.acquireMode;
        in.presetMode = p.presetMode;
        in.presetChannel = p.spChanPosition;
        in.deviceState = m_state.Acquiring() ? 3 : (m_state.DeviceConnected() ? 2 : 0);
        in.library = &m_state.Library();
        if (const CAcq* acq = p.deviceType == 0 ? m_state.Acq() : nullptr) {
            // What the upload worker last read; the pane never asks the analyzer itself.
            const KestrelStatus status = acq->Status();
            in.kestrelConnected = acq->Connected();
            in.kestrelIsA = acq->DeviceType() != KestrelDeviceType::Kestrel;
            in.kestrelSerial = status.serial;
            in.kestrelGroup = acq->StatusValid() ? status.group : -1;
        }
        DppLiveInfo dpp;
        if (p.deviceType != 0 && m_dppSource) {
            dpp = m_dppSource();
            in.dppLive = &dpp;
            in.dppName = dpp.name;
        }
        auto guard = s->Lock();
        m_cells = InfoPaneCells(*s, m_state.Environment().settings, in);
    }
    listGuard.unlock();
    update();
    Q_EMIT Refreshed();
}

QString InfoPane::Label(int row) const {
    for (const auto& c : m_cells)
        if (c.row == row)
            return FromCore(c.label);
    return {};
}

QString InfoPane::Value(int row) const {
    for (const auto& c : m_cells)
        if (c.row == row)
            return FromCore(c.value);
    return {};
}

void InfoPane::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), m_background);
    // Black or white text, whichever reads better on the chosen background.
    p.setPen(m_background.lightness() < 110 ? Qt::white : Qt::black);
    PaintTexts(p);
}

void InfoPane::PaintForPrint(QPainter& p) const {
    QFont f = font();
    f.setPixelSize(std::max(1, QFontInfo(font()).pixelSize()));
    p.setFont(f);
    p.setPen(Qt::black);
    PaintTexts(p);
}

void InfoPane::PaintTexts(QPainter& p) const {
    const QFontMetrics fm(font());
    const int cw = fm.averageCharWidth();
    const int th = fm.height();
    const int lh = static_cast<int>(1.2 * th);
    const int y0 = th;
    const int xL = static_cast<int>(1.5 * cw);
    const int xV = static_cast<int>(16 * cw);
    for (const InfoPaneCell& c : m_cells) {
        const int baseline = y0 + c.row * lh + fm.ascent();
        if (!c.label.empty())
            p.drawText(QPoint(xL, baseline), FromCore(c.label));
        if (!c.value.empty())
            p.drawText(QPoint(xV, baseline), FromCore(c.value));
    }
}

void InfoPane::mousePressEvent(QMouseEvent* event) {
    // A click hands the keyboard to the plot; the right button opens the plot's menu.
    if (event->button() == Qt::LeftButton && parentWidget())
        if (QWidget* plot = window()->findChild<QWidget*>("PlotPane"))
            plot->setFocus();
    QWidget::mousePressEvent(event);
}

} // namespace vorna
