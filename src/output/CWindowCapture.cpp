#include "output/CWindowCapture.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QWidget>

#include "common/AtomicFile.h"
#include "output/core/BmpFile.h"

namespace vorna {

QImage CaptureWindowImage(QWidget& window) {
    return window.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

std::optional<std::string> BmpFileOf(const QImage& picture) {
    if (picture.isNull())
        return std::nullopt;
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    BmpImage bmp;
    bmp.width = image.width();
    bmp.height = image.height();
    bmp.bitsPerPixel = 32;
    // RGB32 rows are B, G, R, 0xff in memory: the bitmap's own order; the file runs bottom-up.
    const size_t rowBytes = static_cast<size_t>(BmpRowBytes(bmp.width, 32));
    bmp.pixels.reserve(rowBytes * static_cast<size_t>(bmp.height));
    for (int y = bmp.height - 1; y >= 0; --y)
        bmp.pixels.append(reinterpret_cast<const char*>(image.constScanLine(y)), rowBytes);
    return BuildBmpFile(bmp);
}

int CaptureWindowToFile(QWidget& window, const QString& path, bool toClipboard) {
    if (path.isEmpty())
        return -1;
    const QImage image = CaptureWindowImage(window);
    const std::optional<std::string> bytes = BmpFileOf(image);
    if (!bytes)
        return -1;
    if (!WriteFileAtomically(QFile::encodeName(path).toStdString(), *bytes).ok)
        return -1;
    if (toClipboard)
        QGuiApplication::clipboard()->setImage(image);
    return 0;
}

} // namespace vorna
