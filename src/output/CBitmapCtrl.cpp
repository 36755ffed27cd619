#include "output/CBitmapCtrl.h"

#include <QPainter>
#include <QScrollBar>

#include "output/core/OutputTexts.h"

namespace vorna {

CBitmapCtrl::CBitmapCtrl(QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName("BitmapView");
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
        bar->setSingleStep(1);
        bar->setPageStep(20);
    }
}

bool CBitmapCtrl::Load(const QString& path) {
    m_picture = QImage(path);
    UpdateScrollBars();
    viewport()->update();
    return !m_picture.isNull();
}

void CBitmapCtrl::UpdateScrollBars() {
    const QSize view = viewport()->size();
    const QSize picture = m_picture.isNull() ? QSize() : m_picture.size();
    // The range ends where the picture's far edge meets the view's.
    horizontalScrollBar()->setRange(0, ClampScroll(picture.width(), picture.width(), view.width()));
    verticalScrollBar()->setRange(0,
                                  ClampScroll(picture.height(), picture.height(), view.height()));
}

void CBitmapCtrl::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void CBitmapCtrl::scrollContentsBy(int, int) {
    viewport()->update();
}

void CBitmapCtrl::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), QColor(0x80, 0x80, 0x80));
    if (m_picture.isNull()) {
        p.setPen(Qt::black);
        p.drawText(QPoint(0, fontMetrics().ascent()), QString::fromLatin1(kPreviewFileNotFound));
        return;
    }
    p.drawImage(QPoint(-horizontalScrollBar()->value(), -verticalScrollBar()->value()), m_picture);
}

} // namespace vorna
