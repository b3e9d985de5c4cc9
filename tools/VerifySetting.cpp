#include "tools/VerifySetting.h"

#include "tools/DriveSpeeds.h"
#include "tools/SettingsStore.h"

namespace vorlane {
namespace {

constexpr const char* kValueName = "VerifyLastOverwrite";

}  // namespace

bool StoredVerifyLastOverwrite() {
    return RestoreSetting(SettingsBaseKey(), kValueName).value_or("0") == "1";
}

std::error_code StoreVerifyLastOverwrite(bool verify) {
    return SaveSetting(SettingsBaseKey(), kValueName, verify ? "1" : "0");
}

}  // namespace vorlane
