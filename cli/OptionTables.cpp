#include "cli/OptionTables.h"

#include <algorithm>

namespace vorlane::cli {
namespace {

const OptionSpec kHelp{"--help", 'h', "", "show this help and exit"};

const std::vector<OptionSpec> kTarget{
    {"--folder", 0, "DIR", "the folder whose files are purged or listed"},
    {"--spec", 0, "SPEC", "which files (default *.*; see File patterns below)"},
    {"--subfolders", 'r', "", "include the files of every subfolder"},
    {"--before", 0, "YYYY-MM-DD", "only files last modified before that day"},
};

const std::vector<OptionSpec> kPurgeType{
    {"--type", 0, "T", "purge type 1, 2 or 3 (default 1)"},
    {"--passes", 'n', "N", "passes: 1-9/1-8/1-4 by type (default 6/4/2)"},
};

const std::vector<OptionSpec> kFileOptions{
    {"--keep", 0, "", "overwrite, but do not delete the files"},
    {"--slack-only", 0, "", "overwrite only the slack behind each file's end; keep the files"},
    {"--no-read-only", 0, "", "refuse read-only files (they are purged by default)"},
    {"--system", 0, "", "allow files in the system folders (/usr, /etc, ...)"},
};

const std::vector<OptionSpec> kFileList{
    {"--files-from", 0, "LIST", "also purge the files LIST names, one a line (- reads stdin)"},
    {"--null", '0', "", "names in LIST end with a NUL byte, not a line break"},
};

const std::vector<OptionSpec> kFolderPurgeOptions{
    {"--sensitive", 0, "", "allow sensitive extensions (exe, dll, ...) unasked"},
    {"--file-names", 0, "", "name each file in the report (not a dot)"},
    {"--keep-empty-folders", 0, "", "keep the subfolders the purge empties"},
    {"--confirm-each", 0, "", "ask before each file"},
};

// Not part of an operation file: its format is fixed.
const std::vector<OptionSpec> kVerify{
    {"--verify", 0, "",
     "read the last overwrite back from the device; a file that differs is kept"},
};

const std::vector<OptionSpec> kRun{
    {"--yes", 'y', "", "purge without asking (needed without a terminal)"},
    {"--setup", 0, "FILE", "take every choice from an operation file (.vns)"},
    {"--no-batch", 0, "", "purge small files one at a time (a flush per file)"},
};

const std::vector<OptionSpec> kSafety{
    {"--hard-links", 0, "", "also purge files that have other names (hard links)"},
    {"--cross-volumes", 0, "", "walk into folders on other mounted volumes"},
    {"--no-preserve-root", 0, "", "allow / as the folder of a purge"},
};

const std::vector<OptionSpec> kListOptions{
    {"--folders", 0, "", "in a tree: folder lines (file lines up to 100 files)"},
    {"--speed", 0, "MBPS", "purge speed for the estimate, MB/s for one overwrite"},
};

const std::vector<OptionSpec> kSpeedTest{
    {"--drive", 0, "DIR", "a folder on the volume to test (default: the current folder)"},
};

const std::vector<OptionSpec> kTrash{
    {"--drive", 0, "MOUNT", "the mount point of the volume whose Trash is purged"},
    {"--yes", 'y', "", "purge without asking (needed without a terminal)"},
};

const std::vector<OptionSpec> kFreeSpace{
    {"--drive", 0, "MOUNT", "the volume, by its mount point or a folder on it (default: .)"},
    {"--type", 0, "T", "fill with purge type 1, 2 or 3 (default: random bytes only)"},
    {"--passes", 'n', "N", "passes (default 1: free space holds no file to repeat for)"},
    {"--yes", 'y', "", "purge without asking (needed without a terminal)"},
};

// Reports are kept in $XDG_STATE_HOME/vorlane/reports unless the setting says otherwise.
const std::vector<OptionSpec> kKeeping{
    {"--no-keep-report", 0, "", "do not keep this run's report (see Kept reports below)"},
};

// What reaches standard output. A listing names every file already: no --verbose there.
const std::vector<OptionSpec> kJsonAndQuiet{
    {"--json", 0, "", "one JSON object per file, then a summary (report to stderr)"},
    {"--quiet", 'q', "", "no report on standard output; failures still go to stderr"},
};

const std::vector<OptionSpec> kVerbose{
    {"--verbose", 'v', "", "name each file as its purge ends, as rm -v does"},
};

std::vector<OptionSpec> Join(std::initializer_list<const std::vector<OptionSpec>*> groups) {
    std::vector<OptionSpec> all;
    for (const auto* group : groups) {
        all.insert(all.end(), group->begin(), group->end());
    }
    all.push_back(kHelp);
    return all;
}

bool InGroup(const std::vector<OptionSpec>& group, const std::string& name) {
    return std::any_of(group.begin(), group.end(),
                       [&](const OptionSpec& spec) { return spec.name == name; });
}

}  // namespace

const CommandSpec& PurgeCommandSpec() {
    static const CommandSpec spec{
        "purge",
        {"purge [OPTION]... FILE...", "purge [OPTION]... --files-from=LIST [FILE]...",
         "purge --folder DIR [OPTION]...",
         "purge --setup FILE.vns [--yes] [--verify] [SAFETY OPTION]..."},
        "Overwrite every cluster of the files, slack included, pass after pass, flush\n"
        "each overwrite to the device, and delete them. With --folder: the files of a\n"
        "folder that match --spec, counted and confirmed first, with the report of the\n"
        "windows on standard output. FILE... takes the options up to --verify and the\n"
        "safety options. A LIST's names are taken byte for byte (a CR before the line\n"
        "break is part of the name; with -0 a name may hold line breaks), each as one\n"
        "file, as if named on the command line after the FILEs. A LIST is confirmed\n"
        "once unless --yes is given; a LIST read from standard input needs --yes.",
        Join({&kTarget, &kPurgeType, &kFileOptions, &kFileList, &kVerify, &kFolderPurgeOptions,
              &kRun, &kSafety, &kKeeping, &kJsonAndQuiet, &kVerbose})};
    return spec;
}

const CommandSpec& ListCommandSpec() {
    static const CommandSpec spec{
        "list",
        {"list --folder DIR [OPTION]..."},
        "List the matching files of a folder with the sum of their sizes and, when the\n"
        "purge speed of the volume is known (--speed, or the speed test's), an estimate\n"
        "of the purge time for the chosen type and passes.",
        Join({&kTarget, &kPurgeType, &kListOptions, &kSafety, &kKeeping, &kJsonAndQuiet})};
    return spec;
}

const CommandSpec& SaveSetupCommandSpec() {
    static const CommandSpec spec{
        "save-setup",
        {"save-setup FILE.vns --folder DIR [OPTION]..."},
        "Save the choices of a folder purge as an operation file, to run later with\n"
        "'vorlane-cli purge --setup FILE.vns' or to load in the windows.",
        Join({&kTarget, &kPurgeType, &kFileOptions, &kFolderPurgeOptions})};
    return spec;
}

const CommandSpec& SpeedTestCommandSpec() {
    static const CommandSpec spec{
        "speed-test",
        {"speed-test [--drive DIR] [--type T] [--passes N]"},
        "Measure how fast the volume holding DIR (default: the current folder) is purged:\n"
        "dummy files in a temporary folder on it, purged three times, then removed. The\n"
        "mean speed is printed and stored, and later listings base their estimate on it.",
        Join({&kSpeedTest, &kPurgeType})};
    return spec;
}

const CommandSpec& TrashPurgeCommandSpec() {
    static const CommandSpec spec{
        "purge-trash",
        {"purge-trash [--drive MOUNT] [--yes]"},
        "Purge every file in the Trash of one volume (default: the volume of your home\n"
        "Trash), with the entries that remember where each came from. The Trash's own\n"
        "folders stay. Asks once, unless --yes is given.",
        Join({&kTrash, &kJsonAndQuiet, &kVerbose})};
    return spec;
}

const CommandSpec& FreeSpaceCommandSpec() {
    static const CommandSpec spec{
        "purge-free-space",
        {"purge-free-space [--drive MOUNT] [--type T] [--passes N] [--yes]"},
        "Purge the free space of a volume, where the data of files deleted without a purge\n"
        "still lies: a hidden folder on it is filled with random bytes until the volume is\n"
        "full, flushed to the device and removed again. One pass is the default: free\n"
        "space holds no file, so the file purge types' many passes buy nothing there.\n"
        "Refused on tmpfs and pseudo file systems, and on copy-on-write and log-structured\n"
        "ones (btrfs, zfs, f2fs, overlayfs), whose snapshots and logs keep old blocks out\n"
        "of reach. Names of deleted files stay in their folders' blocks; a fill does not\n"
        "reach them, nor blocks an SSD keeps aside, nor, unless run as root, those reserved\n"
        "for root. Ctrl-C removes the fill at once. Every start of vorlane-cli removes the\n"
        "fill of a run that was killed.",
        Join({&kFreeSpace, &kKeeping, &kJsonAndQuiet})};
    return spec;
}

const std::vector<const CommandSpec*>& AllCommands() {
    static const std::vector<const CommandSpec*> all{
        &PurgeCommandSpec(),      &ListCommandSpec(),      &SaveSetupCommandSpec(),
        &TrashPurgeCommandSpec(), &SpeedTestCommandSpec(), &FreeSpaceCommandSpec()};
    return all;
}

const CommandSpec* FindCommand(const std::string& name) {
    for (const CommandSpec* spec : AllCommands()) {
        if (spec->name == name) {
            return spec;
        }
    }
    return nullptr;
}

bool IsFolderPurgeOnlyOption(const std::string& name) {
    return InGroup(kTarget, name) || InGroup(kFolderPurgeOptions, name) || name == "--yes" ||
           name == "--setup" || InGroup(kKeeping, name);
}

bool IsFileListOption(const std::string& name) {
    return InGroup(kFileList, name);
}

bool IsSafetyOption(const std::string& name) {
    return InGroup(kSafety, name);
}

bool IsOutputOption(const std::string& name) {
    return InGroup(kJsonAndQuiet, name) || InGroup(kVerbose, name);
}

}  // namespace vorlane::cli
