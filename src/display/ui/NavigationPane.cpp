#include "display/ui/NavigationPane.h"

#include <QContextMenuEvent>
#include <QFontInfo>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "display/ui/QtPlotSupport.h"
#include "display/ui/ZoomArrowButton.h"

namespace vorna {

namespace {

constexpr std::array kFieldIds{NavField::RangeLeft, NavField::RangeRight, NavField::CountBottom,
                               NavField::CountTop};
constexpr std::array kButtonIds{ZoomButton::HorizontalCompress, ZoomButton::HorizontalExpand,
                                ZoomButton::VerticalCompress, ZoomButton::VerticalExpand};

} // namespace

NavigationPane::NavigationPane(CPlot& plot, QWidget* parent) : QWidget(parent), m_plot(plot) {
    setAutoFillBackground(true);
    for (size_t i = 0; i < kFieldIds.size(); ++i) {
        const NavField id = kFieldIds[i];
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("field%1").arg(static_cast<int>(id)));
        connect(edit, &QLineEdit::textEdited, this,
                [this, id](const QString& text) { m_plot.SetFieldText(id, FromQString(text)); });
        connect(edit, &QLineEdit::returnPressed, this, [this, id, edit] {
            m_plot.SetFieldText(id, FromQString(edit->text()));
            m_plot.ApplyField(id);
        });
        m_fields[i] = edit;
    }
    for (size_t i = 0; i < kButtonIds.size(); ++i) {
        m_buttons[i] = new ZoomArrowButton(plot, kButtonIds[i], this);
        connect(m_buttons[i], &ZoomArrowButton::pressed, this, &NavigationPane::FocusPlot);
    }
    m_plot.AddListener(this);
    RefreshFields();
}

NavigationPane::~NavigationPane() {
    m_plot.RemoveListener(this);
}

void NavigationPane::setBackground(const QColor& color) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, color);
    pal.setColor(QPalette::Base, color);
    setPalette(pal);
    for (QLineEdit* e : m_fields)
        e->setPalette(pal);
    update();
}

QLineEdit* NavigationPane::field(NavField f) const {
    for (size_t i = 0; i < kFieldIds.size(); ++i)
        if (kFieldIds[i] == f)
            return m_fields[i];
    return nullptr;
}

ZoomArrowButton* NavigationPane::zoomButton(ZoomButton b) const {
    for (size_t i = 0; i < kButtonIds.size(); ++i)
        if (kButtonIds[i] == b)
            return m_buttons[i];
    return nullptr;
}

QString NavigationPane::scaleLabel() const {
    return ToQString(m_plot.ScaleLabel());
}
QString NavigationPane::cursorValueText() const {
    return ToQString(m_plot.CursorValueText());
}
QString NavigationPane::cursorCountText() const {
    return ToQString(m_plot.CursorCountText());
}
QString NavigationPane::unitLabel() const {
    return ToQString(m_plot.UnitLabel());
}

void NavigationPane::ViewChanged() {
    RefreshFields();
}

void NavigationPane::UnitsChanged() {
    RefreshFields();
    update();
}

void NavigationPane::RefreshFields() {
    for (size_t i = 0; i < kFieldIds.size(); ++i)
        m_fields[i]->setText(ToQString(m_plot.FieldText(kFieldIds[i])));
}

NavigationPane::Layout NavigationPane::ComputeLayout() const {
    const QFontMetrics fm(font());
    Layout l;
    const int w = std::max(100, width());
    l.cw = (fm.horizontalAdvance(QStringLiteral("1234567890")) + 9) / 10;
    l.lh = static_cast<int>(1.3 * fm.height());
    l.c1 = 40 * w / 1000;
    l.c2 = 240 * w / 1000;
    l.c3 = 420 * w / 1000;
    l.c4 = 660 * w / 1000;
    l.c5 = 860 * w / 1000;
    l.y0 = static_cast<int>(0.2 * l.lh);
    l.y1 = l.y0 + static_cast<int>(1.1 * l.lh);
    l.y2 = l.y1 + static_cast<int>(1.3 * l.lh);
    return l;
}

void NavigationPane::Relayout() {
    m_laidOutFor = size();
    const Layout l = ComputeLayout();
    const int ew = 12 * l.cw;
    m_fields[0]->setGeometry(l.c3, l.y1, ew, l.lh);
    m_fields[1]->setGeometry(l.c4, l.y1, ew, l.lh);
    m_fields[2]->setGeometry(l.c3, l.y2, ew, l.lh);
    m_fields[3]->setGeometry(l.c4, l.y2, ew, l.lh);
    const int gap = static_cast<int>(0.3 * l.lh);
    const int mid = (l.y1 + l.y2) / 2;
    m_buttons[0]->setGeometry(l.c5, mid, l.lh, l.lh);                      // 131
    m_buttons[1]->setGeometry(l.c5 + 2 * l.lh + 2 * gap, mid, l.lh, l.lh); // 132
    m_buttons[3]->setGeometry(l.c5 + l.lh + gap, l.y1, l.lh, l.lh);        // 135
    m_buttons[2]->setGeometry(l.c5 + l.lh + gap, l.y2, l.lh, l.lh);        // 134
}

void NavigationPane::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (size() != m_laidOutFor)
        Relayout();
}

void NavigationPane::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        for (QLineEdit* e : m_fields)
            e->setFont(font());
        Relayout();
    }
}

void NavigationPane::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintCaptions(p);
}

void NavigationPane::PaintCaptions(QPainter& p) const {
    const Layout l = ComputeLayout();
    const QFontMetrics fm(font());
    // Texts sit in the middle of their row's line height, level with the edit fields.
    const int inset = (l.lh - fm.height()) / 2 + fm.ascent();
    auto text = [&](int x, int y, const QString& s) { p.drawText(x, y + inset, s); };
    text(l.cw / 2 + l.c2, l.y0, QStringLiteral("Cursor"));
    text((l.c3 + l.c4 + 8 * l.cw) / 2, l.y0, QStringLiteral("Range"));
    text(l.c5, l.y0, scaleLabel());
    text(l.c1, l.y1, unitLabel());
    text(l.c2, l.y1, cursorValueText());
    text(l.c1, l.y2, QStringLiteral("Count"));
    text(l.c2, l.y2, cursorCountText());
}

void NavigationPane::PaintForPrint(QPainter& p) const {
    // Sized in the pane's own pixels, so the page scales the texts with the pane.
    QFont f = font();
    f.setPixelSize(std::max(1, QFontInfo(font()).pixelSize()));
    p.setFont(f);
    p.setPen(Qt::black);
    PaintCaptions(p);
    const QFontMetrics fm(font());
    for (QLineEdit* field : m_fields) {
        if (!field)
            continue;
        const QRect g = field->geometry();
        const int baseline = g.top() + (g.height() - fm.height()) / 2 + fm.ascent();
        p.drawText(g.left() + 2, baseline, field->text().left(31));
    }
}

void NavigationPane::FocusPlot() {
    if (m_focusTarget)
        m_focusTarget->setFocus(Qt::MouseFocusReason);
}

void NavigationPane::mousePressEvent(QMouseEvent* event) {
    FocusPlot();
    QWidget::mousePressEvent(event);
}

void NavigationPane::contextMenuEvent(QContextMenuEvent* event) {
    Q_EMIT contextMenuRequested(event->globalPos());
}

} // namespace vorna
