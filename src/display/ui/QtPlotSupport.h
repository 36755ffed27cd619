#pragma once
// Small conversions between the plot model's plain values and Qt's.

#include <QColor>
#include <QPolygon>
#include <QString>
#include <optional>
#include <span>
#include <string>

#include "display/PlotKeys.h"
#include "display/PlotOutline.h"

namespace vorna {

// 0x00BBGGRR as stored in profiles and files.
inline QColor ToQColor(uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

inline QPolygon ToQPolygon(std::span<const PlotPoint> points) {
    QPolygon poly(static_cast<int>(points.size()));
    for (size_t i = 0; i < points.size(); ++i)
        poly.setPoint(static_cast<int>(i), points[i].x, points[i].y);
    return poly;
}

// Core texts are 8-bit Windows-1252 bytes; plot texts are ASCII apart from calibration units.
inline QString ToQString(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string FromQString(const QString& text) {
    return text.toLatin1().toStdString();
}

// The plot's key for a Qt key code, if it has one.
std::optional<PlotKey> ToPlotKey(int qtKey);

} // namespace vorna
