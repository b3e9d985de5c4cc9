#include "engine/ExclusionRules.h"

#include <algorithm>
#include <filesystem>

#include "platform/Platform.h"
#include "support/Strings.h"

namespace vorlane {

namespace {

using platform::Sys;

constexpr std::array<const char*, 12> kStandardSensitive = {
    "bat", "bin", "com", "dll", "drv", "exe", "ini", "ovl", "pif", "sys", "ocx", "kbd"};

// "/a//b/./c/" and "/a/b/c" name the same place.
std::string NormalFolder(const std::string& path) {
    if (path.empty()) {
        return {};
    }
    std::string normal = std::filesystem::path(path).lexically_normal().string();
    while (normal.size() > 1 && normal.back() == '/') {
        normal.pop_back();
    }
    return normal;
}

// A Windows volume mounted here keeps its own recycle folder with system files in it.
bool HasWindowsRecycleFolder(const std::string& folder) {
    const std::string lower = LowerCaseText(folder) + "/";
    return lower.find("/$recycle.bin/") != std::string::npos;
}

bool InTrash(const std::string& folder, const ProtectedPlaces& places) {
    return HasWindowsRecycleFolder(folder) ||
           std::any_of(places.trashFolders.begin(), places.trashFolders.end(),
                       [&](const std::string& trash) { return IsSameOrBelow(folder, trash); });
}

bool IsActiveSwapFile(const std::string& path, const ProtectedPlaces& places) {
    return std::any_of(places.swapFiles.begin(), places.swapFiles.end(),
                       [&](const std::string& swap) { return NormalFolder(swap) == path; });
}

std::string HomeTrash() {
    std::string dataHome = Sys().EnvironmentValue("XDG_DATA_HOME");
    if (dataHome.empty() || dataHome.front() != '/') {
        const std::string home = Sys().EnvironmentValue("HOME");
        if (home.empty()) {
            return {};
        }
        dataHome = home + "/.local/share";
    }
    return NormalFolder(dataHome + "/Trash");
}

FileOutcome SensitiveCode(const std::string& extension, const SensitiveExtensions& table) {
    const std::optional<ExtensionPermission> permission = table.PermissionOf(extension);
    if (!permission || *permission == ExtensionPermission::Allowed) {
        return FileOutcome::Ok;
    }
    return *permission == ExtensionPermission::Refused ? FileOutcome::SensitiveRefused
                                                       : FileOutcome::SensitiveUndecided;
}

}  // namespace

void SensitiveExtensions::InitSensitiveExtensions(ExtensionPermission permission) {
    entries_ = {};
    count_ = static_cast<int>(kStandardSensitive.size());
    for (int i = 0; i < count_; ++i) {
        entries_[i] = {kStandardSensitive[i], permission};
    }
}

void SensitiveExtensions::SetSensitiveExtensionPermission(const std::string& extension,
                                                          ExtensionPermission permission) {
    for (int i = 0; i < count_; ++i) {
        if (entries_[i].extension == extension) {
            entries_[i].permission = permission;
            return;
        }
    }
}

std::optional<ExtensionPermission> SensitiveExtensions::PermissionOf(
    const std::string& extension) const {
    for (int i = 0; i < count_; ++i) {
        if (entries_[i].extension == extension) {
            return entries_[i].permission;
        }
    }
    return std::nullopt;
}

ProtectedPlaces FindProtectedPlaces() {
    ProtectedPlaces places;
    places.programFolder = NormalFolder(Sys().ExecutableFolder());
    places.swapFiles = Sys().ActiveSwapFiles();
    if (std::string home = HomeTrash(); !home.empty()) {
        places.trashFolders.push_back(home);
    }
    const std::string uid = std::to_string(Sys().UserId());
    for (const platform::Volume& volume : Sys().ListVolumes()) {
        const std::string mount = volume.mountPoint == "/" ? "" : volume.mountPoint;
        places.trashFolders.push_back(NormalFolder(mount + "/.Trash-" + uid));
        places.trashFolders.push_back(NormalFolder(mount + "/.Trash/" + uid));
    }
    return places;
}

FileOutcome ExcludedFile(const std::string& filePath, const SensitiveExtensions& extensions,
                         const ProtectedPlaces& places) {
    // File names and extensions are compared without regard to case, folders exactly:
    // Linux names are case-sensitive.
    const std::string path = NormalFolder(filePath);
    const std::string folder = NormalFolder(FolderPart(path, false));
    const std::string name = LowerCaseText(path.substr(path.rfind('/') + 1));

    if (name == "desktop.ini" && InTrash(folder, places)) {
        return FileOutcome::ExcludedTrashDesktopIni;
    }
    if (!folder.empty() && folder == places.programFolder) {
        return FileOutcome::ExcludedProgramFolder;
    }
    // An active swap file often has no extension at all (/swapfile), so it is known by
    // its path before the extension is looked at.
    if (IsActiveSwapFile(path, places)) {
        return FileOutcome::ExcludedSwapFile;
    }
    // ".swp" files on Linux are editor swap files holding the edited text: they are
    // purged like any other file.
    if (name == "pagefile.sys" || name == "hiberfil.sys") {
        return FileOutcome::ExcludedSwapFile;
    }
    const std::string extension = FileExtension(name, true);
    if (extension.empty()) {
        return FileOutcome::Ok;
    }
    return SensitiveCode(extension, extensions);
}

}  // namespace vorlane
