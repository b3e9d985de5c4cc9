#include "support/ProgramText.h"

#include <cerrno>
#include <new>
#include <unordered_map>
#include <utility>

#include "platform/Platform.h"
#include "support/Strings.h"
#include "support/Utf8.h"

namespace vorlane {
namespace {

using TextTable = std::unordered_map<int, std::string>;

// A file this large is not a text table.
constexpr std::size_t kMaxFileBytes = 8 * 1024 * 1024;

// Filled once at start-up, read-only afterwards.
TextTable& Store() {
    static TextTable table;
    return table;
}

std::string Unescape(std::string_view raw) {
    std::string out;
    out.reserve(raw.size());
    for (std::size_t k = 0; k < raw.size(); ++k) {
        if (raw[k] != '\\' || k + 1 == raw.size()) {
            out.push_back(raw[k]);
            continue;
        }
        switch (raw[++k]) {
            case 'n':
                out.push_back('\n');
                break;
            case 't':
                out.push_back('\t');
                break;
            case 's':
                out.push_back(' ');
                break;
            case '\\':
                out.push_back('\\');
                break;
            default:
                out.push_back('\\'), out.push_back(raw[k]);
        }
    }
    return out;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Reads "<number> <text>" into the table; the status names what is wrong.
ProgramTextStatus ParseTextLine(std::string_view line, TextTable& table) {
    std::size_t pos = 0;
    int number = 0;
    while (pos < line.size() && line[pos] >= '0' && line[pos] <= '9' &&
           number <= kMaxProgramTextNumber) {
        number = number * 10 + (line[pos++] - '0');
    }
    if (pos == 0 || number < 1 || number > kMaxProgramTextNumber ||
        (pos < line.size() && !IsBlank(line[pos]))) {
        return ProgramTextStatus::BadNumber;
    }
    while (pos < line.size() && IsBlank(line[pos])) {
        ++pos;
    }
    if (pos == line.size()) {
        return ProgramTextStatus::MissingText;
    }
    std::string text = Unescape(line.substr(pos));
    if (DecodeUtf8(text).size() > static_cast<std::size_t>(kMaxProgramTextLength)) {
        return ProgramTextStatus::TooLong;
    }
    if (!table.emplace(number, std::move(text)).second) {
        return ProgramTextStatus::Duplicate;
    }
    return ProgramTextStatus::Loaded;
}

ProgramTextLoad ParseProgramText(std::string_view content, TextTable& table) {
    if (content.starts_with("\xEF\xBB\xBF")) {
        content.remove_prefix(3);
    }
    int lineNumber = 0;
    while (!content.empty()) {
        ++lineNumber;
        const std::size_t end = content.find('\n');
        std::string_view line = content.substr(0, end);
        content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos || line[first] == '#') {
            continue;
        }
        const ProgramTextStatus status = ParseTextLine(line.substr(first), table);
        if (status != ProgramTextStatus::Loaded) {
            return {status, lineNumber, 0};
        }
    }
    if (table.empty()) {
        return {ProgramTextStatus::NothingRead, 0, 0};
    }
    return {ProgramTextStatus::Loaded, 0, static_cast<int>(table.size())};
}

// Whether a failed read of the whole file failed at the open (or at what the open
// found) rather than while reading.
bool FailedToOpen(std::error_code error) {
    switch (error.value()) {
        case ENOENT:
        case EACCES:
        case EPERM:
        case EISDIR:
        case EINVAL:  // a FIFO, device or socket
        case ELOOP:
        case ENOTDIR:
        case ENAMETOOLONG:
            return true;
        default:
            return false;
    }
}

ProgramTextLoad ReadAndParse(const std::string& path, TextTable& table) {
    std::string text;
    if (const std::error_code error =
            platform::SysFiles().ReadWholeFile(path, text, kMaxFileBytes)) {
        if (error.value() == EFBIG) {
            return {ProgramTextStatus::TooMuchText, 0, 0};
        }
        return {FailedToOpen(error) ? ProgramTextStatus::CannotOpen : ProgramTextStatus::ReadError,
                0, 0};
    }
    if (text.empty()) {
        return {ProgramTextStatus::EmptyFile, 0, 0};
    }
    return ParseProgramText(text, table);
}

std::string AtLine(const char* what, int line) {
    return std::string(what) + " " + std::to_string(line) + ".";
}

bool Exists(const std::string& path) {
    return platform::Sys().StatNoFollow(path).kind != platform::FileKind::Missing;
}

}  // namespace

ProgramTextLoad ReadProgramTextFile(const std::string& path) {
    try {
        TextTable table;
        const ProgramTextLoad load = ReadAndParse(path, table);
        if (load.status == ProgramTextStatus::Loaded) {
            Store() = std::move(table);
        }
        return load;
    } catch (const std::bad_alloc&) {
        return {ProgramTextStatus::OutOfMemory, 0, 0};
    }
}

std::string ProgramTextFailureMessage(const ProgramTextLoad& load, const std::string& path) {
    switch (load.status) {
        case ProgramTextStatus::Loaded:
            return {};
        case ProgramTextStatus::NothingRead:
            return "No program text was read.";
        case ProgramTextStatus::CannotOpen:
            return "Cannot open file containing program text.\n" + path;
        case ProgramTextStatus::OutOfMemory:
            return "General memory allocation error.";
        case ProgramTextStatus::TooMuchText:
            return "Too much program text.";
        case ProgramTextStatus::EmptyFile:
            return "File is empty.";
        case ProgramTextStatus::ReadError:
            return "Error reading file.";
        case ProgramTextStatus::Duplicate:
            return AtLine("Duplicate in program text at line", load.line);
        case ProgramTextStatus::TooLong:
            return AtLine("String too long at line", load.line);
        case ProgramTextStatus::MissingText:
            return AtLine("Missing string at line", load.line);
        case ProgramTextStatus::BadNumber:
            return AtLine("Unreadable text number at line", load.line);
    }
    return {};
}

std::string ProgramTextPath(const std::string& fileName) {
    const std::string folder = WithTrailingSeparator(platform::Sys().ExecutableFolder());
    const std::string besideProgram = folder + fileName;
    const std::string shared = folder + "../share/vorlane/" + fileName;
    if (!Exists(besideProgram) && Exists(shared)) {
        return shared;
    }
    return besideProgram;
}

bool LoadProgramText(const std::string& fileName, FatalMessageSink& sink) {
    return LoadProgramTextFrom(ProgramTextPath(fileName), sink);
}

bool LoadProgramTextFrom(const std::string& path, FatalMessageSink& sink) {
    const ProgramTextLoad load = ReadProgramTextFile(path);
    if (load.status == ProgramTextStatus::Loaded) {
        return true;
    }
    sink.EndWithMessage(ProgramTextFailureMessage(load, path));
    return false;
}

std::string GetText(int textNumber) {
    const auto& table = Store();
    const auto found = table.find(textNumber);
    if (found == table.end() || found->second == "~") {
        return {};
    }
    return found->second;
}

}  // namespace vorlane
