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
        std::int16_t code;
    } cases[] = {
        {"/home/ann/.local/share/Trash/files/desktop.ini", kExcludedTrashDesktopIni},
        {"/media/usb/.Trash-1000/files/Desktop.INI", kExcludedTrashDesktopIni},
        {"/media/usb/.Trash/1000/desktop.ini", kExcludedTrashDesktopIni},
        {"/media/win/$RECYCLE.BIN/S-1-5-21/desktop.ini", kExcludedTrashDesktopIni},
        {"/home/ann/desktop.ini", kSensitiveUndecided},
        {"/media/usb/.Trash-10000/desktop.ini", kSensitiveUndecided},
        {"/home/ann/.local/share/Trash/files/notes.txt", kNotExcluded},
        {"/opt/vorlane/bin/vorlane.dat", kExcludedProgramFolder},
        {"//opt/vorlane/./bin/readme", kExcludedProgramFolder},
        {"/opt/vorlane/bin/sub/setup.exe", kSensitiveUndecided},
        {"/opt/vorlane/notes.txt", kNotExcluded},
        {"/swapfile", kExcludedSwapFile},
        {"/home/ann/swapfile", kNotExcluded},
        {"/PageFile.SYS", kExcludedSwapFile},
        {"/home/ann/.notes.txt.swp", kNotExcluded},  // an editor's swap file holds the text
        {"/home/ann/driver.sys", kSensitiveUndecided},
        {"/home/ann/readme", kNotExcluded},
        {"/home/ann/name.", kNotExcluded},
        {"/home/ann/v1.0/readme", kNotExcluded},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExcludedFile(c.path, undecided, places), c.code) << c.path;
    }
}

TEST(ExcludedFile, HomeTrashFollowsXdgDataHome) {
    const ProtectedPlaces places = PlacesOf("/data/ann");
    const SensitiveExtensions undecided;
    EXPECT_EQ(ExcludedFile("/data/ann/Trash/files/desktop.ini", undecided, places),
              kExcludedTrashDesktopIni);
    EXPECT_EQ(ExcludedFile("/home/ann/.local/share/Trash/files/desktop.ini", undecided, places),
              kSensitiveUndecided);
}

TEST(SensitiveExtensions, AnswersLastOneOperation) {
    const ProtectedPlaces places = PlacesOf("");
    SensitiveExtensions table;
    const std::string setup = "/home/ann/SETUP.EXE";
    EXPECT_EQ(ExcludedFile(setup, table, places), kSensitiveUndecided);
    table.SetSensitiveExtensionPermission("exe", kExtensionRefused);
    EXPECT_EQ(ExcludedFile(setup, table, places), kSensitiveRefused);
    table.SetSensitiveExtensionPermission("exe", kExtensionAllowed);
    EXPECT_EQ(ExcludedFile(setup, table, places), kNotExcluded);
    table.SetSensitiveExtensionPermission("txt", kExtensionRefused);
    EXPECT_EQ(ExcludedFile("/home/ann/a.txt", table, places), kNotExcluded);
    EXPECT_EQ(ExcludedFile("/home/ann/a.dll", table, places), kSensitiveUndecided);

    table.InitSensitiveExtensions(kExtensionUndecided);
    EXPECT_EQ(ExcludedFile(setup, table, places), kSensitiveUndecided);
    table.InitSensitiveExtensions(kExtensionAllowed);
    EXPECT_EQ(ExcludedFile("/home/ann/a.kbd", table, places), kNotExcluded);
}

}  // namespace
}  // namespace vorlane
