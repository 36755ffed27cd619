#include "platform/QSettingsProfileStore.h"

#include <QSettings>
#include <QStringList>

#include "common/NumberText.h"
#include "common/Text.h"
#include "settings/SettingsKey.h"

namespace vorna {
namespace {

QString fromCore(std::string_view bytes) {
    return QString::fromStdString(Cp1252ToUtf8(bytes));
}

std::string toCore(const QString& text) {
    return Utf16ToCp1252(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                             static_cast<size_t>(text.size())));
}

QString pathOf(std::string_view section, std::string_view key) {
    return fromCore(ProfileValuePath(section, key));
}

} // namespace

QSettingsProfileStore::QSettingsProfileStore(const std::string& settingsKey)
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             fromCore(settingsKey),
                                             QString::fromLatin1(kSettingsApplication))) {
    // Only the one file: values of organisation-wide or system files would be invisible to
    // anyone reading the user's file without Qt.
    m_settings->setFallbacksEnabled(false);
}

QSettingsProfileStore::QSettingsProfileStore(AtPath file)
    : m_settings(
          std::make_unique<QSettings>(QString::fromStdString(file.path), QSettings::IniFormat)) {
    m_settings->setFallbacksEnabled(false);
}

QSettingsProfileStore::~QSettingsProfileStore() = default;

std::optional<std::string> QSettingsProfileStore::ReadText(std::string_view section,
                                                           std::string_view key) const {
    QVariant v = m_settings->value(pathOf(section, key));
    switch (v.typeId()) {
    case QMetaType::QString:
        return toCore(v.toString());
    case QMetaType::QStringList:
        // A hand-edited value with a bare comma reads as a list; its items are the text.
        return toCore(v.toStringList().join(QLatin1Char(',')));
    case QMetaType::QByteArray: {
        QByteArray bytes = v.toByteArray();
        return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
    }
    case QMetaType::Int: // written in this session and not yet read back from the file
        return Format("%d", v.toInt());
    default: // missing, @Invalid() or a value of another type
        return std::nullopt;
    }
}

std::optional<int> QSettingsProfileStore::ReadInt(std::string_view section,
                                                  std::string_view key) const {
    QVariant v = m_settings->value(pathOf(section, key));
    if (v.typeId() == QMetaType::Int)
        return v.toInt();
    // QVariant's own conversion wraps numbers beyond int; the string's is range-checked.
    auto text = ReadText(section, key);
    if (!text)
        return std::nullopt;
    return ParseProfileInt(*text);
}

void QSettingsProfileStore::WriteInt(std::string_view section, std::string_view key, int value) {
    m_settings->setValue(pathOf(section, key), value);
}

void QSettingsProfileStore::WriteText(std::string_view section, std::string_view key,
                                      std::string_view value) {
    m_settings->setValue(pathOf(section, key), fromCore(value));
}

bool QSettingsProfileStore::Flush() {
    m_settings->sync();
    // A format error only says that the old file held lines it skipped; the new one is written.
    return m_settings->status() != QSettings::AccessError;
}

std::string QSettingsProfileStore::FileName() const {
    return m_settings->fileName().toStdString();
}

} // namespace vorna
