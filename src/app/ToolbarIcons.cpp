#include "app/ToolbarIcons.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

namespace vorna {

namespace {

QIcon Standard(QStyle::StandardPixmap p) {
    return QApplication::style()->standardIcon(p);
}

// A 20x20 icon drawn by `draw` on a transparent ground.
template <typename Draw> QIcon Drawn(Draw draw) {
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return QIcon(pm);
}

QIcon SpectrumGlyph(QColor color) {
    return Drawn([color](QPainter& p) {
        QPainterPath path(QPointF(1, 18));
        path.lineTo(5, 16);
        path.cubicTo(7, 16, 8, 3, 10, 3);
        path.cubicTo(12, 3, 12, 14, 14, 14);
        path.cubicTo(15, 14, 15.5, 10, 16.5, 10);
        path.lineTo(19, 18);
        p.setPen(QPen(color, 1.6));
        p.drawPath(path);
        p.setPen(QPen(Qt::darkGray, 1));
        p.drawLine(1, 19, 19, 19);
    });
}

QIcon Dot(QColor color) {
    return Drawn([color](QPainter& p) {
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(color);
        p.drawEllipse(QRectF(4, 4, 12, 12));
    });
}

QIcon Letters(const char* text, QColor color) {
    return Drawn([text, color](QPainter& p) {
        QFont f = p.font();
        f.setPixelSize(11);
        f.setBold(true);
        p.setFont(f);
        p.setPen(color);
        p.drawText(QRect(0, 0, 20, 20), Qt::AlignCenter, QString::fromLatin1(text));
    });
}

} // namespace

QIcon ProgramIcon() {
    return SpectrumGlyph(QColor(0, 90, 200));
}

QIcon ConnectIcon(bool connected) {
    return Drawn([connected](QPainter& p) {
        p.setPen(QPen(connected ? QColor(0, 140, 0) : Qt::darkGray, 2));
        p.drawLine(2, 10, 7, 10);
        p.drawLine(13, 10, 18, 10);
        p.drawRect(7, 6, 3, 8);
        if (connected)
            p.drawRect(10, 6, 3, 8);
        else
            p.drawRect(12, 6, 3, 8);
    });
}

QIcon AcquisitionIcon(bool running) {
    return running ? Standard(QStyle::SP_MediaStop) : Standard(QStyle::SP_MediaPlay);
}

QIcon DevicePaneIcon(int index) {
    switch (index) {
    case 1:
        return Letters("AC", QColor(0, 120, 0));
    case 2:
        return Dot(QColor(240, 200, 0));
    case 4:
        return Dot(QColor(0, 170, 0));
    default:
        return Dot(QColor(170, 170, 170));
    }
}

QIcon CommandIcon(CommandId id) {
    using C = CommandId;
    switch (id) {
    case C::FileOpen:
        return Standard(QStyle::SP_DialogOpenButton);
    case C::FileSave:
    case C::ListSave:
        return Standard(QStyle::SP_DialogSaveButton);
    case C::PrintSpectrum:
    case C::PrintRoi:
    case C::KeyboardPrint:
        return Letters("Pr", Qt::black);
    case C::Connect:
        return ConnectIcon(false);
    case C::StartAcquisition:
        return AcquisitionIcon(false);
    case C::UpdateData:
        return Standard(QStyle::SP_BrowserReload);
    case C::DeleteDataAndResetTime:
        return Standard(QStyle::SP_TrashIcon);
    case C::Calibration:
        return Letters("keV", QColor(0, 90, 200));
    case C::Calibrate:
        return Letters("Cal", QColor(140, 0, 140));
    case C::SpectraList:
        return Standard(QStyle::SP_FileDialogDetailedView);
    case C::FlareController:
        return Letters("X", QColor(200, 80, 0));
    case C::HelpTopics:
        return Standard(QStyle::SP_DialogHelpButton);
    case C::Revert:
        return Standard(QStyle::SP_BrowserReload);
    case C::ListClose:
        return Standard(QStyle::SP_DialogCloseButton);
    case C::CopyRoi:
    case C::KeyboardCopy:
        return Letters("Cp", Qt::black);
    case C::PeakSearch:
    case C::DefineRoi:
        return SpectrumGlyph(QColor(200, 0, 0));
    default:
        return {};
    }
}

} // namespace vorna
