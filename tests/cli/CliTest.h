#pragma once
// The frame of the tests that run vorlane-cli itself: skipped without it, with a folder
// of the test's own to work in.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "common/CliRun.h"

namespace vorlane::testing {

class CliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("VORLANE_CLI") == nullptr) {
            GTEST_SKIP() << "VORLANE_CLI not set";
        }
    }
    std::string Quoted() const { return "'" + folder.Path() + "'"; }

    TempFolder folder;
};

}  // namespace vorlane::testing
