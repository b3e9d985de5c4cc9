#include "tools/DriveSpeeds.h"

#include <charconv>

#include "support/ProgramText.h"
#include "tools/SettingsStore.h"

namespace vorlane {
namespace {

constexpr int kMakerText = 310;
constexpr int kProductText = 2;

}  // namespace

std::string SettingsBaseKey() {
    return "Software\\" + GetText(kMakerText) + "\\" + GetText(kProductText);
}

float StoredDriveSpeed(const std::string& drive) {
    if (drive.empty()) {
        return 0;
    }
    const std::string value =
        RestoreSetting(SettingsBaseKey() + "\\" + drive, "Speed").value_or("");
    float speed = 0;
    std::from_chars(value.data(), value.data() + value.size(), speed);
    return speed > 0 ? speed : 0;
}

}  // namespace vorlane
