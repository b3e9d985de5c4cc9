// "This path is the folder or lies below it", which the Trash checks, the exclusion of
// Trash system files and the subfolder selection all rest on.

#include <gtest/gtest.h>

#include "support/Strings.h"

namespace vorlane {
namespace {

struct BelowCase {
    const char* path;
    const char* folder;
    bool expected;
};

TEST(PathBelowTest, WholeNamesOnlyWhateverTheSeparators) {
    const BelowCase cases[] = {
        {"/top/a", "/top/a", true},    {"/top/a/b/c", "/top/a", true},
        {"/top/ab", "/top/a", false},  {"/top/a", "/top/ab", false},
        {"/top", "/top/a", false},     {"/top/A", "/top/a", false},  // names keep their case
        {"/top/a/", "/top/a", true},   {"/top/a", "/top/a//", true},
        {"/top//a/b", "/top/a", true}, {"/top/a.b", "/top/a", false},
        {"/anything", "/", true},      {"/", "/", true},
        {"/top/a", "", false},         {"", "", false},
    };
    for (const BelowCase& c : cases) {
        EXPECT_EQ(IsSameOrBelow(c.path, c.folder), c.expected)
            << "\"" << c.path << "\" below \"" << c.folder << "\"";
    }
}

}  // namespace
}  // namespace vorlane
