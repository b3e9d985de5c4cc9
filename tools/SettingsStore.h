#pragma once
// Single text values kept between runs, under key paths such as
// "Software\Maker\Vorlane\/home" and value names such as "Speed". The store is an INI
// file in the user's config folder; the key path's "\" separates its levels, and any
// level may hold a mount point, which is escaped so that its "/" stays part of the name.

#include <optional>
#include <string>
#include <system_error>

namespace vorlane {

// Writes the text; why it could not be kept (an empty key path, a store that cannot be
// written). Never throws.
[[nodiscard]] std::error_code SaveSetting(const std::string& keyPath, const std::string& valueName,
                                          const std::string& text);

// The value without trailing control characters; nothing when the key holds no values or
// the name is empty or not there. Never throws.
std::optional<std::string> RestoreSetting(const std::string& keyPath, const std::string& valueName);

// Moves the store to another INI file; an empty path goes back to the default
// (<config folder>/vorlane/vorlane.ini).
void SetSettingsFilePath(const std::string& iniPath);
std::string SettingsFilePath();

// Owns the store's file for its lifetime: the file in force before comes back when it
// goes, so a test's settings never leak into the next.
class ScopedSettingsFile {
  public:
    explicit ScopedSettingsFile(const std::string& iniPath);
    ~ScopedSettingsFile();
    ScopedSettingsFile(const ScopedSettingsFile&) = delete;
    ScopedSettingsFile& operator=(const ScopedSettingsFile&) = delete;

  private:
    std::string previous_;  // empty: the default file
};

}  // namespace vorlane
