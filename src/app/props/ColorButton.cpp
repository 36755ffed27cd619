#include "app/props/ColorButton.h"

#include <QColorDialog>
#include <QPainter>
#include <QStyleOptionButton>
#include <algorithm>

#include "display/ui/QtPlotSupport.h"
#include "spectrum/SpectrumHeader.h"

namespace vorna {

ColorButton::ColorButton(QWidget* parent) : QPushButton(parent) {
    connect(this, &QPushButton::clicked, this, [this] { Choose(); });
}

void ColorButton::SetColor(uint32_t color) {
    m_color = color & 0xFFFFFFu;
    update();
}

QSize ColorButton::sizeHint() const {
    const QSize base = QPushButton::sizeHint();
    return {std::max(base.width(), fontMetrics().averageCharWidth() * 10), base.height()};
}

void ColorButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect inner = style()
                            ->subElementRect(QStyle::SE_PushButtonContents, &option, this)
                            .adjusted(2, 2, -2, -2);
    QPainter p(this);
    p.fillRect(inner, ToQColor(m_color));
    p.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.drawRect(inner.adjusted(0, 0, -1, -1));
}

void ColorButton::Choose() {
    // The widget chooser rather than the desktop's: the same on every platform and reachable
    // from tests.
    const QColor chosen = QColorDialog::getColor(ToQColor(m_color), this, QString(),
                                                 QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid())
        return;
    SetColor(MakeRgb(static_cast<unsigned>(chosen.red()), static_cast<unsigned>(chosen.green()),
                     static_cast<unsigned>(chosen.blue())));
    Q_EMIT ColorChosen(m_color);
}

} // namespace vorna
