#include "operation/KeptReports.h"

#include <fcntl.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <tuple>
#include <vector>

#include "platform/Platform.h"
#include "tools/DriveSpeeds.h"
#include "tools/SettingsStore.h"

namespace vorlane {
namespace {

using platform::FileStatus;
using platform::SysFiles;
using platform::UniqueFd;

constexpr const char* kKeepReportsValue = "KeepReports";
// "YYYY-MM-DD-hhmmss-": the part of a name that orders reports by time.
constexpr std::size_t kStampLength = 18;
// A second report of one operation in one second is "-2", then "-3" ...; past this many
// something else is making the names, and the report is not kept.
constexpr int kMostInOneSecond = 99;

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(),
                                        [](unsigned char c) { return std::isdigit(c) != 0; });
}

bool IsStamp(std::string_view stamp) {
    static constexpr std::string_view kShape = "0000-00-00-000000-";
    if (stamp.size() != kShape.size()) {
        return false;
    }
    for (std::size_t i = 0; i < kShape.size(); ++i) {
        if ((kShape[i] == '0') != (std::isdigit(static_cast<unsigned char>(stamp[i])) != 0) ||
            (kShape[i] == '-' && stamp[i] != '-')) {
            return false;
        }
    }
    return true;
}

// The operation word: lower-case words joined by single hyphens.
bool IsOperationWord(std::string_view word) {
    if (word.empty() || word.front() == '-' || word.back() == '-') {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        const char c = word[i];
        if (!((c >= 'a' && c <= 'z') || (c == '-' && word[i - 1] != '-'))) {
            return false;
        }
    }
    return true;
}

// The count of a name within its second: 1 without a "-N" suffix.
int CountInSecond(std::string_view rest) {
    const std::size_t hyphen = rest.rfind('-');
    if (hyphen != std::string_view::npos && AllDigits(rest.substr(hyphen + 1))) {
        return std::atoi(std::string(rest.substr(hyphen + 1)).c_str());
    }
    return 1;
}

std::string StampOf(const std::tm& when) {
    char stamp[80];  // room for any int the fields could hold
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d-%02d%02d%02d-", when.tm_year + 1900,
                  when.tm_mon + 1, when.tm_mday, when.tm_hour, when.tm_min, when.tm_sec);
    return stamp;
}

std::string NameFor(const std::string& stamp, std::string_view operation, int count) {
    return stamp + std::string(operation) + (count > 1 ? "-" + std::to_string(count) : "") + ".txt";
}

// Opens a folder by path, making it and any missing folder above it (0700, as the base
// folders of per-user state are made). The last name of each is never followed as a link.
std::error_code OpenOrMakeFolder(const std::string& path, UniqueFd& out) {
    FileStatus status;
    std::error_code error = SysFiles().OpenFolderPath(path, out, status);
    if (error != std::errc::no_such_file_or_directory) {
        return error;
    }
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos || slash + 1 == path.size()) {
        return error;
    }
    UniqueFd parent;
    if ((error = OpenOrMakeFolder(slash == 0 ? "/" : path.substr(0, slash), parent))) {
        return error;
    }
    const std::string name = path.substr(slash + 1);
    error = SysFiles().CreateFolderAt(parent.Get(), name);
    if (error && error != std::errc::file_exists) {
        return error;
    }
    return SysFiles().OpenFolder(parent.Get(), name, out, status);
}

// The count after the highest of this second's reports of the operation: a count freed
// by a removal is never taken again, so that the counts keep the order of the reports.
int NextCount(int folderFd, const std::string& stamp, std::string_view operation) {
    std::vector<platform::FolderEntry> entries;
    (void)SysFiles().ReadFolder(folderFd, entries);  // unread: O_EXCL still guards each name
    const std::string same = stamp + std::string(operation);
    int highest = 0;
    for (const platform::FolderEntry& entry : entries) {
        const std::string_view name = entry.name;
        if (!name.starts_with(same) || !IsKeptReportName(name)) {
            continue;
        }
        // Nothing, or "-" and the count, between the operation and ".txt".
        const std::string_view tail = name.substr(same.size(), name.size() - same.size() - 4);
        if (tail.empty() || (tail.front() == '-' && AllDigits(tail.substr(1)))) {
            highest = std::max(highest, CountInSecond(tail));
        }
    }
    return highest + 1;
}

// A new file under the next name of this second: O_EXCL decides, so two programs
// finishing in one second each get a name of their own.
std::error_code CreateReportFile(int folderFd, std::string_view operation, UniqueFd& out,
                                 std::string& name) {
    const platform::Clock& clock = platform::SysClock();
    const std::string stamp = StampOf(clock.LocalTime(clock.Now()));
    const int first = NextCount(folderFd, stamp, operation);
    for (int count = first; count < first + kMostInOneSecond; ++count) {
        name = NameFor(stamp, operation, count);
        const std::error_code error = SysFiles().CreateFileAt(folderFd, name, out);
        if (error != std::errc::file_exists) {
            return error;
        }
    }
    return platform::SystemError(EEXIST);
}

std::error_code WriteReport(int folderFd, std::string_view operation, std::string_view text,
                            std::string& name) {
    UniqueFd file;
    if (const std::error_code error = CreateReportFile(folderFd, operation, file, name)) {
        return error;
    }
    std::error_code error = SysFiles().WriteAt(file.Get(), 0, text.data(), text.size());
    if (!error) {
        error = SysFiles().FlushToDevice(file.Get());
    }
    const std::error_code closed = file.Reset();
    if (error || closed) {
        // Half a report would read as a whole one.
        FileStatus written;
        if (!SysFiles().StatAt(folderFd, name, written)) {
            (void)SysFiles().RemoveAt(folderFd, name, written);  // the first error is the one told
        }
    }
    return error ? error : closed;
}

// Oldest first: by the time in the name, then by the count within its second.
void SortOldestFirst(std::vector<platform::FolderEntry>& reports) {
    std::sort(reports.begin(), reports.end(), [](const auto& a, const auto& b) {
        const std::string_view stampA = std::string_view(a.name).substr(0, kStampLength);
        const std::string_view stampB = std::string_view(b.name).substr(0, kStampLength);
        const std::string_view restA = std::string_view(a.name).substr(kStampLength);
        const std::string_view restB = std::string_view(b.name).substr(kStampLength);
        return std::tuple(stampA, CountInSecond(restA.substr(0, restA.size() - 4)), a.name) <
               std::tuple(stampB, CountInSecond(restB.substr(0, restB.size() - 4)), b.name);
    });
}

void RemoveOldest(int folderFd, std::size_t limit) {
    std::vector<platform::FolderEntry> entries;
    if (SysFiles().ReadFolder(folderFd, entries)) {
        return;  // the new report is kept; the old ones go after the next
    }
    std::erase_if(entries, [](const platform::FolderEntry& entry) {
        return entry.status.kind != platform::FileKind::Regular || !IsKeptReportName(entry.name);
    });
    if (entries.size() <= limit) {
        return;
    }
    SortOldestFirst(entries);
    for (std::size_t i = 0; i < entries.size() - limit; ++i) {
        // Only while the name still leads to the file looked at: never what replaced it.
        (void)SysFiles().RemoveAt(folderFd, entries[i].name, entries[i].status);
    }
}

std::string NotKeptText(std::error_code error) {
    const std::string folder = KeptReportsFolder();
    return "The report was not kept" + (folder.empty() ? std::string() : " in " + folder) + ": " +
           platform::Platform::ErrorText(error) + ".";
}

}  // namespace

std::string KeptReportsFolder() {
    const platform::Environment& environment = platform::SysEnvironment();
    std::string state = environment.EnvironmentValue("XDG_STATE_HOME");
    if (state.empty() || state.front() != '/') {
        const std::string home = environment.EnvironmentValue("HOME");
        if (home.empty() || home.front() != '/') {
            return {};
        }
        state = home + (home.back() == '/' ? "" : "/") + ".local/state";
    }
    while (state.size() > 1 && state.back() == '/') {
        state.pop_back();
    }
    return state + (state == "/" ? "" : "/") + "vorlane/reports";
}

bool ReportKeepingOn() {
    return RestoreSetting(SettingsBaseKey(), kKeepReportsValue).value_or("1") != "0";
}

std::error_code SetReportKeeping(bool on) {
    return SaveSetting(SettingsBaseKey(), kKeepReportsValue, on ? "1" : "0");
}

bool IsKeptReportName(std::string_view name) {
    constexpr std::string_view kEnd = ".txt";
    if (name.size() <= kStampLength + kEnd.size() || !name.ends_with(kEnd) ||
        !IsStamp(name.substr(0, kStampLength))) {
        return false;
    }
    std::string_view rest = name.substr(kStampLength, name.size() - kStampLength - kEnd.size());
    const std::size_t hyphen = rest.rfind('-');
    if (hyphen != std::string_view::npos && AllDigits(rest.substr(hyphen + 1))) {
        rest = rest.substr(0, hyphen);
    }
    return IsOperationWord(rest);
}

std::error_code KeepReport(std::string_view operation, std::string_view text,
                           std::string& savedName, std::size_t limit) {
    const std::string folder = KeptReportsFolder();
    if (folder.empty()) {
        return platform::SystemError(ENOENT);
    }
    UniqueFd reports;
    if (const std::error_code error = OpenOrMakeFolder(folder, reports)) {
        return error;
    }
    if (const std::error_code error = WriteReport(reports.Get(), operation, text, savedName)) {
        return error;
    }
    RemoveOldest(reports.Get(), limit);
    return {};
}

void KeepFinishedReport(OperationInterface& ui, std::string_view operation, std::string_view text,
                        bool wanted) {
    if (!wanted || !ReportKeepingOn()) {
        return;
    }
    std::string name;
    if (const std::error_code error = KeepReport(operation, text, name)) {
        ui.ReportNotKept(NotKeptText(error));
    }
}

std::error_code SaveReportAs(const std::string& path, std::string_view text) {
    return SysFiles().WriteWholeFile(path, std::string(text));
}

}  // namespace vorlane
