#pragma once
// Single text values kept between runs, under key paths such as
// "Software\Maker\Vorlane\/home" and value names such as "Speed". The store is an INI
// file in the user's config folder; the key path's "\" separates its levels, and any
// level may hold a mount point, which is escaped so that its "/" stays part of the name.
//
// Neither procedure throws: each returns a status text whose first character is "0" on
// success and another digit on failure.

#include <string>

namespace vorlane {

// Writes the text. Status "0 New key created.", "0 Key already exists." or
// "<error number> Unable to create (or find) key.", followed by two blanks and the
// system's message for the final result, ending with CR LF.
std::string SaveSetting(const std::string& keyPath, const std::string& valueName,
                        const std::string& text);

// Reads the value into `value` (empty when there is none), without trailing control
// characters. Status "0 OK", "0 Empty value", "0", "1 Key not found or is empty.",
// "2 Name not specified." or "3 Name not found.".
std::string RestoreSetting(const std::string& keyPath, const std::string& valueName,
                           std::string& value);

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
