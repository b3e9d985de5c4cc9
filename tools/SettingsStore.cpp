#include "tools/SettingsStore.h"

#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>
#include <cerrno>
#include <mutex>
#include <utility>

#include "platform/Platform.h"

namespace vorlane {

namespace {

std::mutex gPathMutex;
std::string gIniPath;  // empty: the default file

std::string DefaultIniPath() {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return (config + QStringLiteral("/vorlane/vorlane.ini")).toStdString();
}

// QSettings reads "/" and "\" in a name as level separators, so a mount point would
// otherwise turn into levels of its own.
QString EscapedLevel(const std::string& level) {
    return QString::fromLatin1(QUrl::toPercentEncoding(QString::fromStdString(level)));
}

QString GroupOf(const std::string& keyPath) {
    QStringList levels;
    std::size_t start = 0;
    while (start <= keyPath.size()) {
        std::size_t end = keyPath.find('\\', start);
        if (end == std::string::npos) {
            end = keyPath.size();
        }
        if (end > start) {
            levels << EscapedLevel(keyPath.substr(start, end - start));
        }
        start = end + 1;
    }
    return levels.join(QLatin1Char('/'));
}

std::error_code ErrorOf(QSettings::Status status) {
    switch (status) {
        case QSettings::NoError:
            return {};
        case QSettings::AccessError:
            return platform::SystemError(EACCES);
        default:
            return platform::SystemError(EINVAL);
    }
}

std::string TextOf(const QVariant& stored) {
    if (stored.userType() == QMetaType::QStringList) {
        // An unquoted "a, b" written by hand comes back as a list.
        return stored.toStringList().join(QStringLiteral(", ")).toStdString();
    }
    return stored.toString().toStdString();
}

void TrimTrailingControlCharacters(std::string& text) {
    while (!text.empty() && static_cast<unsigned char>(text.back()) < 32) {
        text.pop_back();
    }
}

}  // namespace

void SetSettingsFilePath(const std::string& iniPath) {
    std::lock_guard lock(gPathMutex);
    gIniPath = iniPath;
}

std::string SettingsFilePath() {
    std::lock_guard lock(gPathMutex);
    return gIniPath.empty() ? DefaultIniPath() : gIniPath;
}

ScopedSettingsFile::ScopedSettingsFile(const std::string& iniPath) {
    std::lock_guard lock(gPathMutex);
    previous_ = std::exchange(gIniPath, iniPath);
}

ScopedSettingsFile::~ScopedSettingsFile() {
    std::lock_guard lock(gPathMutex);
    gIniPath = previous_;
}

std::error_code SaveSetting(const std::string& keyPath, const std::string& valueName,
                            const std::string& text) {
    const QString group = GroupOf(keyPath);
    if (group.isEmpty()) {
        return platform::SystemError(EINVAL);
    }
    QSettings store(QString::fromStdString(SettingsFilePath()), QSettings::IniFormat);
    if (!store.isWritable()) {
        return platform::SystemError(EACCES);
    }
    store.beginGroup(group);
    store.setValue(EscapedLevel(valueName), QString::fromStdString(text));
    store.endGroup();
    store.sync();
    return ErrorOf(store.status());
}

std::optional<std::string> RestoreSetting(const std::string& keyPath,
                                          const std::string& valueName) {
    const QString group = GroupOf(keyPath);
    if (group.isEmpty() || valueName.empty()) {
        return std::nullopt;
    }
    QSettings store(QString::fromStdString(SettingsFilePath()), QSettings::IniFormat);
    store.beginGroup(group);
    const QString name = EscapedLevel(valueName);
    if (store.status() == QSettings::AccessError || !store.contains(name)) {
        return std::nullopt;
    }
    std::string value = TextOf(store.value(name));
    TrimTrailingControlCharacters(value);
    return value;
}

}  // namespace vorlane
