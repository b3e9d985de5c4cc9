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

constexpr std::size_t kMessageLimit = 100;

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

std::string WithSystemMessage(const std::string& status, std::error_code resultCode) {
    std::string message = platform::Platform::ErrorText(resultCode) + "\r\n";
    if (message.size() > kMessageLimit) {
        message = message.substr(0, kMessageLimit - 2) + "\r\n";
    }
    return status + "  " + message;
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

std::string SaveSetting(const std::string& keyPath, const std::string& valueName,
                        const std::string& text) {
    const QString group = GroupOf(keyPath);
    QSettings store(QString::fromStdString(SettingsFilePath()), QSettings::IniFormat);
    if (group.isEmpty() || !store.isWritable()) {
        const std::error_code error = platform::SystemError(group.isEmpty() ? EINVAL : EACCES);
        return WithSystemMessage(std::to_string(error.value()) + " Unable to create (or find) key.",
                                 error);
    }
    store.beginGroup(group);
    const bool existed = !store.allKeys().isEmpty();
    store.setValue(EscapedLevel(valueName), QString::fromStdString(text));
    store.endGroup();
    store.sync();
    const std::string status = existed ? "0 Key already exists." : "0 New key created.";
    return WithSystemMessage(status, ErrorOf(store.status()));
}

std::string RestoreSetting(const std::string& keyPath, const std::string& valueName,
                           std::string& value) {
    value.clear();
    const QString group = GroupOf(keyPath);
    if (group.isEmpty()) {
        return "1 Key not found or is empty.";
    }
    QSettings store(QString::fromStdString(SettingsFilePath()), QSettings::IniFormat);
    store.beginGroup(group);
    if (store.status() == QSettings::AccessError || store.allKeys().isEmpty()) {
        return "1 Key not found or is empty.";
    }
    if (valueName.empty()) {
        return "2 Name not specified.";
    }
    const QString name = EscapedLevel(valueName);
    if (!store.contains(name)) {
        return "3 Name not found.";
    }
    value = TextOf(store.value(name));
    TrimTrailingControlCharacters(value);
    if (value.empty()) {
        return "0 Empty value";
    }
    return store.status() == QSettings::NoError ? "0 OK" : "0";
}

}  // namespace vorlane
