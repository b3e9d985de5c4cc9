#include <gtest/gtest.h>

#include "engine/FileOutcome.h"

namespace vorlane {
namespace {

const FileResult kWriteFailed{FileOutcome::WriteFailed, std::make_error_code(std::errc::io_error)};

// The system's words replace the guess, in the text's own place, in both forms; without
// them the guess stays, as the report has always said it.
TEST(OutcomeTextTest, TheSystemsReasonTakesTheGuesssPlace) {
    EXPECT_EQ(OutcomeText(kWriteFailed, OutcomeForm::Line), "write error (Input/output error)");
    EXPECT_EQ(OutcomeText(kWriteFailed, OutcomeForm::Report),
              ": write error (Input/output error), not purged.");
    EXPECT_EQ(OutcomeText({FileOutcome::WriteFailed}, OutcomeForm::Report),
              ": write error (disk full or device error), not purged.");
    EXPECT_EQ(OutcomeText({FileOutcome::FlushFailed}, OutcomeForm::Line),
              "data could not be flushed to the device");
}

// Where the report's text has no room for a reason, it stays word for word.
TEST(OutcomeTextTest, ATextWithoutRoomKeepsItsWords) {
    const FileResult denied{FileOutcome::CannotOpenForWriting,
                            std::make_error_code(std::errc::permission_denied)};
    EXPECT_EQ(OutcomeText(denied, OutcomeForm::Report), ": unable to open file for writing.");
    EXPECT_EQ(OutcomeText(denied, OutcomeForm::Line),
              "file cannot be opened for writing (Permission denied)");
    const FileResult changed{FileOutcome::FileChanged,
                             std::make_error_code(std::errc::no_such_file_or_directory)};
    EXPECT_EQ(OutcomeText(changed, OutcomeForm::Line),
              "file vanished or was replaced during the purge");
}

// An outcome the table does not know still ends its report line.
TEST(OutcomeTextTest, AnUnknownOutcomeIsNotPurged) {
    const FileResult unknown{static_cast<FileOutcome>(-99)};
    EXPECT_EQ(OutcomeText(unknown, OutcomeForm::Report), " not purged.");
    EXPECT_EQ(OutcomeText(unknown, OutcomeForm::Line), "");
}

}  // namespace
}  // namespace vorlane
