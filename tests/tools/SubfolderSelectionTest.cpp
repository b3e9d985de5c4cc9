#include "tools/SubfolderSelection.h"

#include <gtest/gtest.h>

namespace vorlane {
namespace {

SubfolderEntry Entry(std::string name, bool empty = false, bool unreadable = false) {
    SubfolderEntry entry;
    entry.name = std::move(name);
    entry.empty = empty;
    entry.unreadable = unreadable;
    return entry;
}

TEST(SubfolderSelection, EmptyAndUnreadableRowsCannotBeChecked) {
    std::vector<SubfolderEntry> entries = {Entry("full"), Entry("empty", true),
                                           Entry("locked", false, true)};
    SetAllChecked(entries, true);
    EXPECT_TRUE(entries[0].checked);
    EXPECT_FALSE(entries[1].checked);
    EXPECT_FALSE(entries[2].checked);
    EXPECT_FALSE(SetChecked(entries[1], true));
    PreCheck(entries, "/top", {"/top/full", "/top/empty", "/top/locked"});
    EXPECT_EQ(SelectedPaths("/top", entries), std::vector<std::string>{"/top/full"});
}

}  // namespace
}  // namespace vorlane
