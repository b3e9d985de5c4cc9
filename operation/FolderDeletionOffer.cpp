#include "operation/FolderDeletionOffer.h"

#include <cerrno>

#include "engine/DriveInfo.h"
#include "operation/TrashPurge.h"
#include "platform/MountTable.h"
#include "platform/PathNames.h"
#include "platform/Platform.h"
#include "support/Folders.h"
#include "support/Strings.h"

namespace vorlane {
namespace {

constexpr const char* kTitle = "Delete folder?";

std::string Normal(const std::string& folder) {
    return WithoutTrailingSeparator(platform::AbsolutePath(folder));
}

}  // namespace

bool MayOfferFolderDeletion(const std::string& folder) {
    const std::string path = Normal(folder);
    if (path.empty() || path == "/" || path == Normal(DriveOfPath(path)) ||
        path == Normal(platform::Sys().EnvironmentValue("HOME")) || !TrashRootOf(path).empty()) {
        return false;
    }
    return FolderIsEmpty(path);
}

std::string OfferFolderDeletion(const std::string& folder, const AskFunction& ask) {
    if (!MayOfferFolderDeletion(folder)) {
        return {};
    }
    if (ask({"Delete folder " + folder + "?", kTitle, MessageButtons::YesNo, 1,
             MessageIcon::Question}) != MessageAnswer::Yes) {
        return {};
    }
    // Removing only an empty folder is the check: the system refuses a folder that
    // gained an entry while the question was open.
    const std::error_code error = platform::Sys().RemoveEmptyFolder(folder);
    if (!error) {
        return folder + " has been deleted.";
    }
    const std::string why =
        error == std::errc::directory_not_empty || error == std::errc::file_exists
            ? " was not removed because it is no longer empty."
            : " was not removed: " + platform::Platform::ErrorText(error) + ".";
    ask({"The folder " + folder + why, kTitle, MessageButtons::Ok, 1, MessageIcon::Exclamation});
    return {};
}

}  // namespace vorlane
