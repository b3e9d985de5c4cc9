// The restriction day itself is not "before" it: a file of that day stays, one of the day
// before goes, in a folder purge and in the check of a single chosen file alike.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <ctime>
#include <filesystem>

#include "common/TempFolder.h"
#include "operation/PurgeCommands.h"
#include "operation/ReportTestSupport.h"
#include "operation/ScriptedInterface.h"
#include "support/Dates.h"

namespace vorlane::testing {
namespace {

constexpr int kYear = 2001;
constexpr int kMonth = 6;
constexpr int kDay = 15;

class DateBoundaryTest : public ::testing::Test {
  protected:
    // Noon, local time: no time zone moves it to another day.
    void DateAtNoon(const std::string& name, int day) {
        std::tm local{0, 0, 12, day, kMonth - 1, kYear - 1900, 0, 0, -1, 0, nullptr};
        const std::time_t when = std::mktime(&local);
        const timespec times[2] = {{when, 0}, {when, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, folder.File(name).c_str(), times, 0), 0);
    }

    OperationChoices Restricted(const std::string& spec) const {
        OperationChoices choices = ChoicesFor(folder.Path() + "/", spec);
        choices.dateRestriction = {.active = true, .onlyBeforeJdn = DateToJdn(kYear, kMonth, kDay)};
        return choices;
    }

    bool Exists(const std::string& name) const {
        return std::filesystem::exists(folder.File(name));
    }

    bool Told(const std::string& part) const {
        return std::any_of(ui.asked.begin(), ui.asked.end(), [&](const Question& question) {
            return question.text.find(part) != std::string::npos;
        });
    }

    TempFolder folder;
    ScriptedInterface ui;
    OperationControl control;
};

TEST_F(DateBoundaryTest, TheFileOfTheRestrictionDayStaysAloneOrInAFolder) {
    folder.WriteTree({"on-the-day.txt=kept", "day-before.txt=purged"});
    DateAtNoon("on-the-day.txt", kDay);
    DateAtNoon("day-before.txt", kDay - 1);

    EXPECT_FALSE(CheckTarget(Restricted("on-the-day.txt"), ui, true));
    EXPECT_TRUE(Told("The date of the specified file is not before"));
    EXPECT_TRUE(CheckTarget(Restricted("day-before.txt"), ui, true));
    EXPECT_TRUE(RunPurge(Restricted("on-the-day.txt"), ui, control).nothingMatched);
    EXPECT_TRUE(Exists("on-the-day.txt"));

    EXPECT_TRUE(RunPurge(Restricted("*.*"), ui, control).ran);
    EXPECT_TRUE(Exists("on-the-day.txt"));
    EXPECT_FALSE(Exists("day-before.txt"));
}

}  // namespace
}  // namespace vorlane::testing
