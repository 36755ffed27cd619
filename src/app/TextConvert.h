#pragma once
// Core texts are Windows-1252 bytes; file paths are the file system's bytes. The widgets
// convert only here.

#include <QString>
#include <string>

namespace vorna {

QString FromCore(const std::string& cp1252);
std::string ToCore(const QString& text);
QString PathFromCore(const std::string& path);
std::string PathToCore(const QString& path);
// "&Open...\tCtrl+O" -> "Open..." (tool tips and status texts).
QString PlainCaption(const char* caption);

} // namespace vorna
