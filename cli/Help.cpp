#include "cli/Help.h"

#include <algorithm>
#include <iostream>

#include "cli/ExitStatus.h"
#include "support/Strings.h"

#ifndef VORLANE_VERSION
#define VORLANE_VERSION "unknown"
#endif

namespace vorlane::cli {
namespace {

constexpr const char* kProgram = "vorlane-cli";

const char* const kExitStatusText =
    "Exit status:\n"
    "  0    every matching file was purged (or listed)\n"
    "  1    some file or folder was not purged, or the listing stopped early\n"
    "  2    usage error, refused or missing target, or no confirmation\n"
    "  3    nothing matched: the target holds no matching file\n"
    "  130  stopped by Ctrl-C (SIGINT) or SIGTERM; the report ends with its summary\n";

const char* const kFilePatternText =
    "File patterns (--spec):\n"
    "  *.*        every file\n"
    "  *          every file too; *.txt names ending in .txt; ? one character\n"
    "  .*         the names that begin with a dot\n"
    "  report.txt exactly that name (case counts); with * or ? case does not count\n"
    "  a pattern covers the whole name, as in a shell; no [...] classes\n";

const char* const kKeptReportsText =
    "Kept reports:\n"
    "  the report of purge --folder or --setup, list and purge-free-space is saved as\n"
    "  $XDG_STATE_HOME/vorlane/reports/YYYY-MM-DD-hhmmss-COMMAND.txt (default\n"
    "  ~/.local/state/vorlane/reports), readable by you alone; the newest 200 are kept.\n"
    "  --no-keep-report skips it for one run; 'Keep reports' in the report window of\n"
    "  vorlane, or KeepReports=0 in the settings, turns it off.\n";

bool HasOption(const CommandSpec& command, const char* name) {
    return std::any_of(command.options.begin(), command.options.end(),
                       [name](const OptionSpec& spec) { return spec.name == name; });
}

std::string OptionLabel(const OptionSpec& spec) {
    std::string label = spec.shortName != 0 ? std::string("-") + spec.shortName + ", " : "    ";
    label += spec.name;
    if (!spec.valueName.empty()) {
        label += "=" + spec.valueName;
    }
    return label;
}

}  // namespace

void PrintProgramHelp(std::ostream& out) {
    out << "Usage: " << kProgram << " COMMAND [OPTION]... [FILE]...\n"
        << "Purge files: overwrite every cluster they occupy, slack included, with byte\n"
           "patterns and random bytes, pass after pass, flush each overwrite to the\n"
           "device, and delete them, so that their data cannot be read back.\n\n"
           "Commands:\n";
    for (const CommandSpec* command : AllCommands()) {
        for (const std::string& line : command->synopsis) {
            out << "  " << kProgram << " " << line << "\n";
        }
    }
    out << "\n"
           "  -h, --help     show this help and exit\n"
           "  -V, --version  show the version and exit\n\n"
        << "'" << kProgram << " COMMAND --help' describes each command and its options.\n\n"
        << kExitStatusText;
}

void PrintCommandHelp(std::ostream& out, const CommandSpec& command) {
    out << "Usage:";
    for (const std::string& line : command.synopsis) {
        out << (&line == &command.synopsis.front() ? " " : "   or: ") << kProgram << " " << line
            << "\n";
    }
    out << command.description << "\n\nOptions:\n";
    std::size_t width = 0;
    for (const OptionSpec& spec : command.options) {
        width = std::max(width, OptionLabel(spec).size());
    }
    for (const OptionSpec& spec : command.options) {
        const std::string label = OptionLabel(spec);
        out << "  " << label << std::string(width - label.size() + 2, ' ') << spec.help << "\n";
    }
    const bool takesPatterns =
        std::any_of(command.options.begin(), command.options.end(),
                    [](const OptionSpec& spec) { return spec.name == "--spec"; });
    if (takesPatterns) {
        out << "\n" << kFilePatternText;
    }
    if (HasOption(command, "--no-keep-report")) {
        out << "\n" << kKeptReportsText;
    }
    out << "\n" << kExitStatusText;
}

void PrintVersion(std::ostream& out) {
    out << kProgram << " (Vorlane) " << VORLANE_VERSION << "\n";
}

int UsageError(const std::string& command, const std::string& problem) {
    const std::string help = command.empty() ? std::string(kProgram) + " --help"
                                             : kProgram + (" " + command) + " --help";
    // A problem is one line, whatever the name it quotes holds.
    std::cerr << kProgram << ": " << ShownName(problem) << "\nTry '" << help
              << "' for more information.\n";
    return kExitRefused;
}

void PrintError(const std::string& text) {
    std::cerr << kProgram << ": " << text << "\n";
}

std::optional<int> FirstChecks(const CommandSpec& spec, const Options& options,
                               bool takesOperands) {
    if (!options.Valid()) {
        return UsageError(spec.name, options.Error());
    }
    if (options.Has("--help")) {
        PrintCommandHelp(std::cout, spec);
        return kExitAllDone;
    }
    if (!takesOperands && !options.Operands().empty()) {
        return UsageError(spec.name, "unexpected operand '" + options.Operands().front() + "'");
    }
    return std::nullopt;
}

}  // namespace vorlane::cli
