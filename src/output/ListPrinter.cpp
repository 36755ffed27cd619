#include "output/ListPrinter.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace vorna {

namespace {

QString FromCoreText(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

Qt::Alignment QtAlign(PrintAlign align) {
    switch (align) {
    case PrintAlign::Centre:
        return Qt::AlignHCenter;
    case PrintAlign::Right:
        return Qt::AlignRight;
    case PrintAlign::Left:
        break;
    }
    return Qt::AlignLeft;
}

int ScreenDpiY() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int dpi = screen ? static_cast<int>(screen->logicalDotsPerInchY()) : 96;
    return dpi > 0 ? dpi : 96;
}

QRect BoxRect(const PrintBox& b) {
    return QRect(QPoint(b.left, b.top), QPoint(b.right - 1, b.bottom - 1));
}

} // namespace

bool PrintListJob(QPrinter& printer, const ListPrintJob& job) {
    // A character height in screen pixels becomes the same height on paper.
    const int height = job.fontSize * printer.logicalDpiY() / ScreenDpiY();
    if (height <= 0)
        return false;
    QFont font(job.fontFace);
    font.setPixelSize(height);
    font.setWeight(QFont::Normal);
    QFont doubleFont = font;
    doubleFont.setPixelSize(2 * height);

    printer.setDocName(FromCoreText(job.title));
    QPainter p;
    if (!p.begin(&printer))
        return false;
    const QFontMetrics fm(font, &printer);
    ListPrintMetrics m;
    m.xWidth = fm.horizontalAdvance(QLatin1Char('X'));
    m.listHeight = fm.height();
    m.titleHeight = fm.height();
    m.footerHeight = fm.height();
    m.pageWidth = printer.width();
    m.pageHeight = printer.height();
    const ListPrintPlan plan =
        PlanListPrint(job.title, job.columns, job.rows, job.options, m, job.utc);

    p.setBackgroundMode(Qt::TransparentMode);
    for (size_t i = 0; i < plan.pages.size(); ++i) {
        if (i > 0 && !printer.newPage()) {
            p.end();
            return false;
        }
        for (const PrintOp& op : plan.pages[i].ops) {
            switch (op.kind) {
            case PrintOp::Kind::Text:
                p.setFont(op.font == PrintFont::TitleDouble ? doubleFont : font);
                p.setPen(Qt::black);
                p.drawText(BoxRect(op.box),
                           QtAlign(op.align) | Qt::AlignVCenter | Qt::TextSingleLine,
                           FromCoreText(op.text));
                break;
            case PrintOp::Kind::Line:
                p.setPen(QPen(Qt::black, op.penWidth));
                p.drawLine(op.box.left, op.box.top, op.box.right, op.box.bottom);
                break;
            case PrintOp::Kind::Frame:
                p.setPen(QPen(Qt::black, 1));
                p.setBrush(Qt::NoBrush);
                p.drawRect(BoxRect(op.box));
                break;
            }
        }
    }
    return p.end();
}

} // namespace vorna
