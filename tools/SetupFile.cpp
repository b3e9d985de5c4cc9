#include "tools/SetupFile.h"

#include <array>
#include <charconv>
#include <functional>
#include <optional>
#include <vector>

#include "engine/PurgeTypes.h"
#include "platform/Platform.h"

namespace vorlane {

namespace {

constexpr std::size_t kMaxSetupFileBytes = 1 << 20;
constexpr const char* kLineEnd = "\r\n";

// Numbers are written as the original program's text output wrote them: a blank in
// place of the plus sign and one blank behind, so 1 becomes " 1 ".
std::string NumberField(std::int64_t number) {
    return (number >= 0 ? " " : "") + std::to_string(number) + " ";
}

std::string FlagField(bool on) {
    return NumberField(on ? 1 : 0);
}

bool HasLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

std::vector<std::string> SetupLines(const Setup& s) {
    return {s.versionText,
            FlagField(s.subfolders),
            FlagField(s.dateRestricted),
            s.targetFolder,
            s.targetFilespec,
            NumberField(s.purgeType),
            NumberField(s.numberOfPasses),
            FlagField(s.purgeSlackOnly),
            FlagField(s.doNotDeletePurgedFiles),
            FlagField(s.okToPurgeReadOnlyFiles),
            FlagField(s.okToPurgeSystemFiles),
            FlagField(s.okToPurgeSensitiveFiles),
            FlagField(s.folderNamesOnly),
            FlagField(s.deleteEmptyFolders),
            FlagField(s.confirmFiles),
            NumberField(s.onlyBeforeJdn)};
}

// Lines end with CR LF; a bare LF (a file edited on Linux) and a last line without an
// end are taken as well.
std::vector<std::string> SplitFileLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const std::size_t next = end == std::string::npos ? text.size() : end + 1;
        end = end == std::string::npos ? text.size() : end;
        if (end > start && text[end - 1] == '\r') {
            --end;
        }
        lines.push_back(text.substr(start, end - start));
        start = next;
    }
    return lines;
}

bool ParseInt32(const std::string& field, std::int32_t& out) {
    const std::size_t first = field.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return false;
    }
    const std::size_t last = field.find_last_not_of(" \t");
    const char* begin = field.data() + first;
    const char* end = field.data() + last + 1;
    if (*begin == '+' && end - begin > 1 && begin[1] != '-') {
        ++begin;
    }
    const auto result = std::from_chars(begin, end, out);
    return result.ec == std::errc() && result.ptr == end;
}

bool ParseFlag(const std::string& field, bool& out) {
    std::int32_t value = 0;
    if (!ParseInt32(field, value) || (value != 0 && value != 1)) {
        return false;
    }
    out = value == 1;
    return true;
}

constexpr std::size_t kFolderLine = 3;  // from 0

// The windows always write a full path; anything else would be read against the folder
// the program runs in. An empty line is no target at all.
bool IsRelativeFolder(const std::string& folder) {
    return !folder.empty() && folder.front() != '/';
}

using LineReader = std::function<bool(const std::string&, Setup&)>;

LineReader Flag(bool Setup::*field) {
    return [field](const std::string& line, Setup& s) { return ParseFlag(line, s.*field); };
}

// A NUL cannot be part of a name: the system would cut the path there and act on
// another folder than the line names.
LineReader Text(std::string Setup::*field) {
    return [field](const std::string& line, Setup& s) {
        if (line.find('\0') != std::string::npos) {
            return false;
        }
        s.*field = line;
        return true;
    };
}

bool ReadPurgeType(const std::string& line, Setup& s) {
    std::int32_t type = 0;
    if (!ParseInt32(line, type) || !IsValidPurgeType(type)) {
        return false;
    }
    s.purgeType = type;
    return true;
}

bool ReadPasses(const std::string& line, Setup& s) {
    std::int32_t passes = 0;
    if (!ParseInt32(line, passes) || !IsValidNumPasses(s.purgeType, passes)) {
        return false;
    }
    s.numberOfPasses = passes;
    return true;
}

bool ReadDateRestriction(const std::string& line, Setup& s) {
    std::int32_t jdn = 0;
    if (!ParseInt32(line, jdn)) {
        return false;
    }
    s.onlyBeforeJdn = jdn;
    return true;
}

const std::array<LineReader, 16>& LineReaders() {
    static const std::array<LineReader, 16> readers = {
        [](const std::string&, Setup&) { return true; },  // the version is not checked
        Flag(&Setup::subfolders),
        Flag(&Setup::dateRestricted),
        Text(&Setup::targetFolder),
        Text(&Setup::targetFilespec),
        ReadPurgeType,
        ReadPasses,
        Flag(&Setup::purgeSlackOnly),
        Flag(&Setup::doNotDeletePurgedFiles),
        Flag(&Setup::okToPurgeReadOnlyFiles),
        Flag(&Setup::okToPurgeSystemFiles),
        Flag(&Setup::okToPurgeSensitiveFiles),
        Flag(&Setup::folderNamesOnly),
        Flag(&Setup::deleteEmptyFolders),
        Flag(&Setup::confirmFiles),
        ReadDateRestriction};
    return readers;
}

// Applies the file's lines to `setup` in the order setups are read; the fault that
// stopped it, if any. The fields applied before the fault stay applied.
std::optional<SetupFault> ApplySetupFile(const std::string& path, Setup& setup) {
    const SetupFault notASetup;
    std::string text;
    if (platform::Sys().ReadWholeFile(path, text, kMaxSetupFileBytes)) {
        return notASetup;
    }
    const std::vector<std::string> lines = SplitFileLines(text);
    const auto& readers = LineReaders();
    // The options come first so that a setup with a broken target line still brings its
    // options along, as setups always have.
    constexpr std::array<std::size_t, 16> kApplyOrder{0,  7,  8, 9, 10, 11, 12, 13,
                                                      14, 15, 1, 2, 3,  4,  5,  6};
    if (lines.size() < 7) {
        return notASetup;  // the first seven lines are read before anything is applied
    }
    for (std::size_t i : kApplyOrder) {
        if (i < lines.size() && i == kFolderLine && IsRelativeFolder(lines[i])) {
            return SetupFault{"line " + std::to_string(i + 1) + " holds the relative folder '" +
                              lines[i] + "'; an operation file needs a folder that begins with /"};
        }
        if (i >= lines.size() || !readers[i](lines[i], setup)) {
            return notASetup;
        }
    }
    return std::nullopt;
}

}  // namespace

bool SaveSetupToFile(const std::string& path, const Setup& setup) {
    std::string text;
    for (const std::string& line : SetupLines(setup)) {
        if (HasLineBreak(line)) {
            return false;
        }
        text += line + kLineEnd;
    }
    return !platform::Sys().WriteWholeFile(path, text);
}

bool LoadSetupFromFile(const std::string& path, Setup& setup) {
    return !ApplySetupFile(path, setup);
}

Expected<Setup, SetupFault> ReadSetupFile(const std::string& path, Setup base) {
    if (std::optional<SetupFault> fault = ApplySetupFile(path, base)) {
        return Unexpected(std::move(*fault));
    }
    return base;
}

void RememberSetup(const Setup& setup, RememberedSetup& remembered) {
    remembered.targetFolder = setup.targetFolder;
    remembered.targetFilespec = setup.targetFilespec;
    remembered.dateRestrictionJdn = setup.onlyBeforeJdn;
}

}  // namespace vorlane
