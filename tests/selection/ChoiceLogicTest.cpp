#include <gtest/gtest.h>

#include "selection/DateInput.h"
#include "selection/FilesChoice.h"
#include "selection/PurgeTypeChoice.h"

namespace vorlane {
namespace {

TEST(FilesChoiceTest, AcceptsAndNormalises) {
    const struct {
        FilesKind kind;
        const char* selected;
        const char* text;
        bool accepted;
        const char* spec;
        const char* refusal;
    } cases[] = {
        {FilesKind::Extension, "", ".TXT", true, "*.txt", ""},
        {FilesKind::Extension, "", "*.TXT", true, "*.txt", ""},
        {FilesKind::Extension, "", "  Doc ", true, "*.doc", ""},
        {FilesKind::Extension, "", "tar.gz", false, "", "Extension must not contain \".\"."},
        {FilesKind::Extension, "", "*.a.b", false, "", "Extension must not contain \".\"."},
        {FilesKind::Extension, "", "   ", false, "", ""},
        {FilesKind::Extension, "", "*.", false, "", ""},
        {FilesKind::Filespec, "", " A*.D* ", true, "a*.d*", ""},
        {FilesKind::Filespec, "", "", false, "", ""},
        // A typed name without wildcards is one file: kept as typed, case and blanks.
        {FilesKind::Filespec, "", "README", true, "README", ""},
        {FilesKind::Filespec, "", " notes ", true, " notes ", ""},
        {FilesKind::AllFiles, "", "", true, "*.*", ""},
        // A file's own name: names differ by case here, so it is kept as it is.
        {FilesKind::SingleFile, "Report.PDF", "", true, "Report.PDF", ""},
        {FilesKind::SingleFile, "", "", false, "", ""},
    };
    for (const auto& c : cases) {
        FilesChoiceInput input;
        input.kind = c.kind;
        input.selectedFile = c.selected;
        input.extensionText = c.text;
        input.filespecText = c.text;
        const FilesChoiceResult result = AcceptFilesChoice(input);
        EXPECT_EQ(result.accepted, c.accepted) << c.text;
        EXPECT_EQ(result.fileSpec, c.spec) << c.text;
        EXPECT_EQ(result.refusal, c.refusal) << c.text;
    }
}

TEST(DateInputTest, ChecksYearRangeAndDate) {
    const struct {
        const char* year;
        int month;
        int day;
        DateInputStatus status;
        const char* kept;
        std::int32_t jdn;
    } cases[] = {
        {"1980", 1, 1, DateInputStatus::Accepted, "1980", 2444240},
        {" 2003 ", 3, 4, DateInputStatus::Accepted, "2003", 2452703},
        {"20x5", 6, 1, DateInputStatus::TooEarly, "205", 0},
        {"-2005", 6, 1, DateInputStatus::Accepted, "2005", 2453523},
        {"1979", 12, 31, DateInputStatus::TooEarly, "1979", 0},
        {"3000", 1, 1, DateInputStatus::TooLate, "3000", 0},
        {"2999", 12, 31, DateInputStatus::Accepted, "2999", 2816787},
        {"2023", 2, 31, DateInputStatus::Invalid, "2023", 0},
        {"2024", 2, 29, DateInputStatus::Accepted, "2024", 2460370},
        {"2023", 0, 5, DateInputStatus::Invalid, "2023", 0},
        {"2023", 5, 0, DateInputStatus::Invalid, "2023", 0},
        {"", 5, 5, DateInputStatus::NoYear, "", 0},
        {"abc", 5, 5, DateInputStatus::NoYear, "", 0},
        {"123456789012", 5, 5, DateInputStatus::TooLate, "123456789012", 0},
    };
    for (const auto& c : cases) {
        const DateInputCheck check =
            CheckDateInput(c.year, c.month, c.day, kDateWindowLowestYear, kDateWindowHighestYear);
        EXPECT_EQ(check.status, c.status) << c.year;
        EXPECT_EQ(check.yearText, c.kept) << c.year;
        if (c.status == DateInputStatus::Accepted) {
            EXPECT_EQ(check.jdn, c.jdn) << c.year;
        }
    }
}

TEST(PurgeTypeChoiceTest, DefaultsAndPassesPerType) {
    PurgeTypeChoice choice;
    EXPECT_EQ(choice.GetPurgeType(), 0);
    EXPECT_EQ(choice.GetNumberOfPasses(), 6);
    EXPECT_EQ(choice.GetNumOverwrites(), 12);
    EXPECT_EQ(choice.PassesOf(1), 4);
    EXPECT_EQ(choice.PassesOf(2), 2);
    choice.SelectType(1);
    choice.SetPassesOf(1, 8);
    choice.SelectType(0);
    EXPECT_EQ(choice.GetNumberOfPasses(), 6);
    choice.SelectType(1);
    EXPECT_EQ(choice.GetNumOverwrites(), 24);
    choice.SetPassesOf(2, 5);  // not offered: ignored
    choice.SelectType(7);
    EXPECT_EQ(choice.PassesOf(2), 2);
    EXPECT_EQ(choice.GetPurgeType(), 1);
}

}  // namespace
}  // namespace vorlane
