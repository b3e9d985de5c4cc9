#include "engine/ExclusionRules.h"

#include <gtest/gtest.h>

#include "platform/Platform.h"

namespace vorlane {
namespace {

// A system with the program in /opt/vorlane/bin, two swap files, user 1000 and a USB
// stick; only names are asked for, nothing on disk is read.
class FixedSystem : public platform::Platform {
  public:
    std::string dataHome;
    std::string ExecutableFolder() const override { return "/opt/vorlane/bin/"; }
    std::vector<std::string> ActiveSwapFiles() const override {
        return {"/swapfile", "/var/swap.img"};
    }
    std::string EnvironmentValue(const std::string& name) const override {
        return name == "HOME" ? "/home/ann" : name == "XDG_DATA_HOME" ? dataHome : "";
    }
    uid_t UserId() const override { return 1000; }
    std::vector<platform::Volume> ListVolumes() const override {
        return {{"/", "ext4", "/dev/sda1", platform::DriveKind::Fixed},
                {"/media/usb", "vfat", "/dev/sdb1", platform::DriveKind::Removable}};
    }
};

ProtectedPlaces PlacesOf(const std::string& dataHome) {
    FixedSystem system;
    system.dataHome = dataHome;
    platform::ScopedPlatform scoped(system);
    return FindProtectedPlaces();
}

TEST(ExcludedFile, KnowsTheProtectedPlaces) {
    const ProtectedPlaces places = PlacesOf("");
    const SensitiveExtensions undecided;
    const struct {
        const char* path;
        FileOutcome code;
    } cases[] = {
        {"/home/ann/.local/share/Trash/files/desktop.ini", FileOutcome::ExcludedTrashDesktopIni},
        {"/media/usb/.Trash-1000/files/Desktop.INI", FileOutcome::ExcludedTrashDesktopIni},
        {"/media/usb/.Trash/1000/desktop.ini", FileOutcome::ExcludedTrashDesktopIni},
        {"/media/win/$RECYCLE.BIN/S-1-5-21/desktop.ini", FileOutcome::ExcludedTrashDesktopIni},
        {"/home/ann/desktop.ini", FileOutcome::SensitiveUndecided},
        {"/media/usb/.Trash-10000/desktop.ini", FileOutcome::SensitiveUndecided},
        {"/home/ann/.local/share/Trash/files/notes.txt", FileOutcome::Ok},
        {"/home/ann/.local/share/Trashcan/desktop.ini", FileOutcome::SensitiveUndecided},
        {"/opt/vorlane/bin/vorlane.dat", FileOutcome::ExcludedProgramFolder},
        {"//opt/vorlane/./bin/readme", FileOutcome::ExcludedProgramFolder},
        {"/opt/vorlane/bin/sub/setup.exe", FileOutcome::SensitiveUndecided},
        {"/opt/vorlane/notes.txt", FileOutcome::Ok},
        {"/swapfile", FileOutcome::ExcludedSwapFile},
        {"/home/ann/swapfile", FileOutcome::Ok},
        {"/PageFile.SYS", FileOutcome::ExcludedSwapFile},
        {"/home/ann/.notes.txt.swp", FileOutcome::Ok},  // an editor's swap file holds the text
        {"/home/ann/driver.sys", FileOutcome::SensitiveUndecided},
        {"/home/ann/readme", FileOutcome::Ok},
        {"/home/ann/name.", FileOutcome::Ok},
        {"/home/ann/v1.0/readme", FileOutcome::Ok},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExcludedFile(c.path, undecided, places), c.code) << c.path;
    }
}

TEST(ExcludedFile, HomeTrashFollowsXdgDataHome) {
    const ProtectedPlaces places = PlacesOf("/data/ann");
    const SensitiveExtensions undecided;
    EXPECT_EQ(ExcludedFile("/data/ann/Trash/files/desktop.ini", undecided, places),
              FileOutcome::ExcludedTrashDesktopIni);
    EXPECT_EQ(ExcludedFile("/home/ann/.local/share/Trash/files/desktop.ini", undecided, places),
              FileOutcome::SensitiveUndecided);
}

}  // namespace
}  // namespace vorlane
