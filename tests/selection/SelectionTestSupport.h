#pragma once
// A fresh per-user environment for each test: the data and config folders and the
// settings file lie in the test's own temporary folder; the program texts are loaded.

#include <gtest/gtest.h>

#include <cstdlib>

#include "common/TempFolder.h"
#include "support/ProgramText.h"
#include "tools/SettingsStore.h"

namespace vorlane::testing {

class SelectionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ::setenv("XDG_DATA_HOME", home.File("data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", home.File("config").c_str(), 1);
        SetSettingsFilePath(home.File("config/settings.ini"));
        ASSERT_EQ(ReadProgramTextFile(ProgramTextPath(kProgramTextFileName)).status,
                  ProgramTextStatus::Loaded);
    }
    void TearDown() override { SetSettingsFilePath({}); }

    TempFolder home;  // the per-user folders
    TempFolder temp;  // the files a test works on
};

}  // namespace vorlane::testing
