#include "app/PanePlaceholders.h"

#include <QPainter>

#include "app/InfoPane.h"
#include "app/TextConvert.h"
#include "appcore/ProgramState.h"

namespace vorna {

PlotPlaceholder::PlotPlaceholder(ProgramState& state, QWidget* parent)
    : QWidget(parent), m_state(state) {
    setObjectName("PlotPane");
    setFocusPolicy(Qt::StrongFocus);
}

void PlotPlaceholder::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), ColorFromRgbWord(m_state.Profile().plotBackgroundColor));
    p.setPen(Qt::gray);
    const CSpectrum* active = m_state.Spectra().GetActive();
    p.drawText(rect(), Qt::AlignCenter,
               active ? QStringLiteral("Plot of %1").arg(FromCore(active->m_strTag))
                      : QStringLiteral("Plot"));
}

NavigationPlaceholder::NavigationPlaceholder(ProgramState& state, QWidget* parent)
    : QWidget(parent), m_state(state) {
    setObjectName("NavigationPane");
}

void NavigationPlaceholder::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), ColorFromRgbWord(m_state.Profile().selectColor));
}

} // namespace vorna
