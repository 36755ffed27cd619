#include "output/PagePrinter.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <algorithm>
#include <vector>

#include "output/PrinterChoice.h"
#include "output/core/OutputTexts.h"

namespace vorna {

namespace {

QString FromCoreText(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

void DrawTopLeft(QPainter& p, const QFontMetrics& fm, const PrintText& t) {
    p.drawText(QPoint(t.x, t.y + fm.ascent()), FromCoreText(t.text));
}

} // namespace

QFont ViewUnitFont(const QFont& screenFont) {
    QFont font = screenFont;
    font.setPixelSize(std::max(1, QFontInfo(screenFont).pixelSize()));
    return font;
}

PagePrinter::PagePrinter() = default;

PagePrinter::~PagePrinter() {
    if (m_painter.isActive())
        m_painter.end();
}

PagePrinter::Result PagePrinter::Begin(PrinterChoice& choice, QWidget* parent, const PrintRect& r,
                                       int band, const PageSpectrumTexts& s, const QFont& infoFont,
                                       const QFont& selectFont, std::time_t now) {
    m_printer = choice.Choose(parent);
    if (!m_printer)
        return Result::Cancelled;
    if (!m_printer->isValid())
        return Result::NoPrinter;
    m_printer->setDocName(QString::fromLatin1(kPrintDocumentName));
    if (!m_painter.begin(m_printer.get()))
        return Result::NoPrinter;

    const PageArea area{m_printer->widthMM() * 1.0, m_printer->heightMM() * 1.0, m_printer->width(),
                        m_printer->height()};
    const PageMapping m = MapViewToPage(r, band, area);
    m_painter.setWindow(m.windowX, m.windowY, m.windowWidth, m.windowHeight);
    m_painter.setViewport(0, 0, m.viewportWidth, m.viewportHeight);

    const QFontMetrics infoMetrics(infoFont);
    m_painter.save();
    m_painter.setPen(Qt::black);
    m_painter.setFont(ViewUnitFont(infoFont));
    // The start time ends inside the frame's width, and the name line stops short of it, so
    // a long file name or a narrow view does not run texts into each other or off the page.
    std::vector<PrintText> header =
        PageHeaderTexts(r, m.header, s.fileName, s.tag, s.startTime, s.description, now);
    const QString time = FromCoreText(header[1].text);
    const int timeX =
        std::max(0, std::min(header[1].x, r.right - infoMetrics.horizontalAdvance(time)));
    const int gap = infoMetrics.averageCharWidth();
    auto drawFitted = [&](const PrintText& t, int right) {
        const QString text =
            infoMetrics.elidedText(FromCoreText(t.text), Qt::ElideRight, std::max(0, right - t.x));
        m_painter.drawText(QPoint(t.x, t.y + infoMetrics.ascent()), text);
    };
    // Where the padded name column does not fit, the tag follows the name directly.
    if (header[0].x + infoMetrics.horizontalAdvance(FromCoreText(header[0].text)) > timeX - gap)
        header[0].text = "  " + s.fileName + "    " + s.tag;
    drawFitted(header[0], timeX - gap);
    m_painter.drawText(QPoint(timeX, header[1].y + infoMetrics.ascent()), time);
    drawFitted(header[2], r.right);
    m_painter.setFont(ViewUnitFont(selectFont));
    const QFontMetrics selectMetrics(selectFont);
    for (const PrintText& t : PageNoteTexts(r, infoMetrics.height(), s.notes))
        DrawTopLeft(m_painter, selectMetrics, t);
    m_painter.restore();

    // The frame around the view, on white.
    m_painter.fillRect(QRect(QPoint(-3, -3), QPoint(r.right + 3, r.bottom + 3)), Qt::white);
    m_painter.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    m_painter.setBrush(Qt::NoBrush);
    const QPoint corners[] = {
        {-1, -1}, {r.right + 1, -1}, {r.right + 1, r.bottom + 1}, {-1, r.bottom + 1}, {-1, -1}};
    m_painter.drawPolyline(corners, 5);
    m_painter.setPen(Qt::black);
    return Result::Printing;
}

bool PagePrinter::End() {
    if (!m_painter.isActive())
        return false;
    m_painter.resetTransform();
    const bool ended = m_painter.end();
    if (!ended && m_printer)
        m_printer->abort();
    return ended;
}

} // namespace vorna
