#include "IniSettingsStore.h"

#include "ui/panel/Windows1252.h"

#include <QSettings>
#include <QStandardPaths>

namespace {

#ifdef Q_OS_WIN
constexpr QSettings::Format kFormat = QSettings::NativeFormat;
#else
constexpr QSettings::Format kFormat = QSettings::IniFormat;
#endif

QString ValuePath(const std::string& section, const std::string& name) {
    return FromWindows1252(section) + QLatin1Char('/') + FromWindows1252(name);
}

} // namespace

QString IniSettingsStore::Location(const std::string& key) {
#ifdef Q_OS_WIN
    return QStringLiteral("HKEY_CURRENT_USER\\") + FromWindows1252(key);
#else
    const QString keyText = FromWindows1252(key);
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QLatin1Char('/') + keyText.section(QLatin1Char('\\'), -1) + QStringLiteral(".ini");
#endif
}

std::optional<std::string> IniSettingsStore::ReadValue(const std::string& key,
                                                       const std::string& section,
                                                       const std::string& name) {
    QSettings settings(Location(key), kFormat);
    if (settings.status() == QSettings::AccessError) {
        throw SettingsStoreError("settings cannot be read from " + Location(key).toStdString());
    }
    const QVariant value = settings.value(ValuePath(section, name));
    if (!value.isValid()) {
        return std::nullopt;
    }
    return ToWindows1252(value.toString());
}

void IniSettingsStore::WriteValue(const std::string& key, const std::string& section,
                                  const std::string& name, const std::string& value) {
    QSettings settings(Location(key), kFormat);
    settings.setValue(ValuePath(section, name), FromWindows1252(value));
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        throw SettingsStoreError(name + " cannot be written to " + Location(key).toStdString());
    }
}
