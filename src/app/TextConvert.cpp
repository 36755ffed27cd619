#include "app/TextConvert.h"

#include <QFile>

#include "common/Text.h"

namespace vorna {

QString FromCore(const std::string& cp1252) {
    return QString::fromStdString(Cp1252ToUtf8(cp1252));
}

std::string ToCore(const QString& text) {
    return Utf8ToCp1252(text.toStdString());
}

QString PathFromCore(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string PathToCore(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString PlainCaption(const char* caption) {
    QString text = QString::fromLatin1(caption);
    text = text.section(QLatin1Char('\t'), 0, 0);
    text.remove(QLatin1Char('&'));
    return text;
}

} // namespace vorna
