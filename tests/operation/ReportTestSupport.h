#pragma once
// Shared pieces of the operation tests: stamps masked, files made and compared.

#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>
#include <utility>

#include "common/TempFolder.h"
#include "operation/OperationChoices.h"
#include "operation/SubfolderPurge.h"
#include "platform/Platform.h"

namespace vorlane::testing {

// Replaces every "date, hh:mm:ss" line with "<STAMP>".
inline std::string MaskStamps(const std::string& report) {
    std::string out;
    std::size_t start = 0;
    while (start < report.size()) {
        std::size_t end = report.find('\n', start);
        end = end == std::string::npos ? report.size() : end;
        std::string line = report.substr(start, end - start);
        const bool stamp = line.size() > 10 && line[line.size() - 3] == ':' &&
                           line[line.size() - 6] == ':' &&
                           line.compare(line.size() - 10, 2, ", ") == 0;
        out += stamp ? "<STAMP>" : line;
        if (end < report.size()) {
            out += '\n';
        }
        start = end + 1;
    }
    return out;
}

// A report written with "$T" for `folder`, as the program writes it.
inline std::string Crlf(const std::string& text, const std::string& folder = "") {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "$T") == 0) {
            out += folder;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

inline OperationChoices ChoicesFor(const std::string& folder, const std::string& spec) {
    OperationChoices choices;
    choices.targetFolder = folder;
    choices.targetFilespec = spec;
    choices.numberOfPasses = 2;
    choices.options.folderNamesOnly = false;
    return choices;
}

// Environment values of the test's own; the others as the process has them.
class EnvironmentOf : public platform::Platform {
  public:
    explicit EnvironmentOf(std::map<std::string, std::string> values)
        : values_(std::move(values)) {}
    std::string EnvironmentValue(const std::string& name) const override {
        const auto found = values_.find(name);
        return found != values_.end() ? found->second : Platform::EnvironmentValue(name);
    }

  private:
    std::map<std::string, std::string> values_;
};

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Both runs of a purge of selected subfolders, the count and then the purge, as the
// command makes them.
inline void CountThenPurge(SubfolderPurgeState& state, OperationControl& control,
                           OperationInterface& ui) {
    state.ResetCounters();
    state.countingMode = true;
    VorlPurgeRecursive2(state, state.topFolder, "Purge selected subfolders", control, ui);
    state.countingMode = false;
    VorlPurgeRecursive2(state, state.topFolder, "Purge selected subfolders", control, ui);
}

inline void MakeFolder(const std::string& path) {
    std::filesystem::create_directories(path);
}

}  // namespace vorlane::testing
