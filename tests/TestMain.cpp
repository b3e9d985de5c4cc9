#include <gtest/gtest.h>

#include <cstdlib>

#include "common/TempFolder.h"

int main(int argc, char** argv) {
    // The reports the tests' operations keep, theirs and those of the vorlane-cli they
    // run, land here and never in the state folder of the person running the tests.
    const vorlane::testing::TempFolder state;
    ::setenv("XDG_STATE_HOME", state.Path().c_str(), 1);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
