#include "IniSettingsStore.h"

#include "ui/panel/LocaleText.h"
#include "ui/panel/Windows1252.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <utility>

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

std::unique_ptr<QSettings> IniSettingsStore::Open(const std::string& key) {
    const QString location = Location(key);
    auto settings = std::make_unique<QSettings>(location, kFormat);
    // Only a file can be set aside; the registry and a folder in the file's place stay errors.
    if (kFormat == QSettings::IniFormat && settings->status() != QSettings::NoError &&
        QFileInfo(location).isFile()) {
        settings.reset();
        SetAside(location);
        settings = std::make_unique<QSettings>(location, kFormat);
    }
    return settings;
}

void IniSettingsStore::SetAside(const QString& file) {
    const QString stamped =
        file + QStringLiteral(".unreadable-") + DateTimeStamp(QDateTime::currentDateTime());
    QString keptAs = stamped;
    // The rename never replaces a file; one kept earlier in the same second gets a follower.
    QFile unreadable(file);
    for (int next = 2; !unreadable.rename(keptAs) && QFileInfo::exists(keptAs); ++next) {
        keptAs = stamped + QLatin1Char('-') + QString::number(next);
    }
    if (!setAsideNotice_.isEmpty()) {
        setAsideNotice_ += QStringLiteral("\n\n");
    }
    if (unreadable.fileName() == keptAs) {
        setAsideNotice_ +=
            QStringLiteral("The settings file \"%1\" could not be read. It has "
                           "been kept as \"%2\", and the program starts from "
                           "the default settings.")
                .arg(QDir::toNativeSeparators(file), QDir::toNativeSeparators(keptAs));
    } else {
        setAsideNotice_ += QStringLiteral("The settings file \"%1\" could not be read, nor set "
                                          "aside (%2). The program starts from the default "
                                          "settings, which may not be stored.")
                               .arg(QDir::toNativeSeparators(file), unreadable.errorString());
    }
}

QString IniSettingsStore::TakeSetAsideNotice() {
    return std::exchange(setAsideNotice_, QString());
}

std::optional<std::string> IniSettingsStore::ReadValue(const std::string& key,
                                                       const std::string& section,
                                                       const std::string& name) {
    const auto settings = Open(key);
    if (settings->status() == QSettings::AccessError) {
        throw SettingsStoreError("settings cannot be read from " + Location(key).toStdString());
    }
    const QVariant value = settings->value(ValuePath(section, name));
    if (!value.isValid()) {
        return std::nullopt;
    }
    return ToWindows1252(value.toString());
}

void IniSettingsStore::WriteValue(const std::string& key, const std::string& section,
                                  const std::string& name, const std::string& value) {
    const auto settings = Open(key);
    settings->setValue(ValuePath(section, name), FromWindows1252(value));
    settings->sync();
    if (settings->status() != QSettings::NoError) {
        throw SettingsStoreError(name + " cannot be written to " + Location(key).toStdString());
    }
}
