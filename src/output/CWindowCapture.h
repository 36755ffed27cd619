#pragma once
// Pictures of windows: the window's pixels as a 32-bit Windows bitmap file, and optionally on
// the clipboard as a bitmap.

#include <QImage>
#include <QString>
#include <optional>
#include <string>

class QWidget;

namespace vorna {

// The window as it paints now, 32 bits per pixel.
QImage CaptureWindowImage(QWidget& window);
// The bitmap file bytes of a picture; nothing for an empty picture.
std::optional<std::string> BmpFileOf(const QImage& image);
// 0 when the file was written (and the clipboard set), -1 otherwise. An empty path fails; a
// failed write leaves any earlier file whole.
int CaptureWindowToFile(QWidget& window, const QString& path, bool toClipboard);

} // namespace vorna
