#pragma once
// The program texts: numbered interface texts read once at start-up from the file
// vorlane.dat beside the program, and handed out by number.
//
// File syntax (UTF-8, one text per line):
//   # a comment            lines whose first non-blank is '#' are skipped,
//                          and so are blank lines
//   <number> <text>        a text number 1..32767, then blanks or tabs, then the
//                          text up to the end of the line (at most 1024 characters)
//   <number> ~             the empty text
// In a text, "\n" stands for a line break, "\t" for a tab, "\s" for a blank (for
// blanks at either end) and "\\" for a backslash. A number given twice, a number
// without a text, an over-long text and a line that does not begin with a number
// fail the load, naming the line.

#include <string>

namespace vorlane {

inline constexpr const char* kProgramTextFileName = "vorlane.dat";
inline constexpr int kMaxProgramTextLength = 1024;
inline constexpr int kMaxProgramTextNumber = 32767;

enum class ProgramTextStatus {
    Loaded,
    NothingRead,
    CannotOpen,
    OutOfMemory,
    TooMuchText,
    EmptyFile,
    ReadError,
    Duplicate,
    TooLong,
    MissingText,
    BadNumber,
};

struct ProgramTextLoad {
    ProgramTextStatus status = ProgramTextStatus::Loaded;
    int line = 0;   // the offending line, for the failures that name one
    int count = 0;  // texts read when loaded
};

// Where a program failure is told before the program ends. The windows show a
// critical message box; the terminal program writes to stderr. Either ends the
// program; a sink that returns (in tests) lets LoadProgramText report false.
class FatalMessageSink {
  public:
    virtual ~FatalMessageSink() = default;
    virtual void EndWithMessage(const std::string& message) = 0;
};

// Reads the file into the store, replacing what it held, but only when the whole
// file is sound; on failure the store is left as it was.
ProgramTextLoad ReadProgramTextFile(const std::string& path);
std::string ProgramTextFailureMessage(const ProgramTextLoad& load, const std::string& path);

// The file in the executable's folder, else in ../share/vorlane beside it; the
// first of these when neither exists, so that a failure names the expected place.
std::string ProgramTextPath(const std::string& fileName);

// Loads the named file from the program's data folder; on failure hands the
// message to the sink. True when the texts are in place.
bool LoadProgramText(const std::string& fileName, FatalMessageSink& sink);
bool LoadProgramTextFrom(const std::string& path, FatalMessageSink& sink);

// The text of that number; empty for a number without a text and for "~".
std::string GetText(int textNumber);

}  // namespace vorlane
