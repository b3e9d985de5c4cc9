#include "cli/Usage.h"

#include <iostream>

namespace vorlane::cli {

void PrintUsage(std::ostream& out) {
    out << "Usage:\n"
           "  vorlane-cli purge [--type 1|2|3] [--passes N] [--keep] [--no-read-only]\n"
           "                    [--system] FILE...\n"
           "  vorlane-cli purge --folder DIR [--spec SPEC] [--subfolders] [--before YYYY-MM-DD]\n"
           "                    [--type T] [--passes N] [--keep] [--no-read-only] [--system]\n"
           "                    [--sensitive] [--file-names] [--keep-empty-folders]\n"
           "                    [--confirm-each] [--yes]\n"
           "  vorlane-cli purge --setup FILE.vns [--yes]\n"
           "  vorlane-cli list --folder DIR [--spec SPEC] [--subfolders] [--before DATE]\n"
           "                    [--folders] [--speed MBPS] [--type T] [--passes N]\n"
           "  vorlane-cli speed-test [--drive MOUNT] [--type T] [--passes N]\n"
           "\n"
           "Purge types: 1 random bytes plus zeros (1-9 passes, default 6),\n"
           "             2 alternate bit patterns plus zeros (1-8 passes, default 4),\n"
           "             3 alternate bit patterns plus random bytes twice (1-4, default 2).\n"
           "  --keep          overwrite without deleting\n"
           "  --no-read-only  refuse read-only files (purged by default)\n"
           "  --system        allow files in operating-system folders\n"
           "  --yes           purge without asking (needed without a terminal)\n"
           "Exit status: 0 every file purged (or listed), 1 some file not purged, the\n"
           "listing stopped or the program texts could not be loaded, 2 usage error or\n"
           "no confirmation.\n";
}

int UsageError(const std::string& problem) {
    std::cerr << "vorlane-cli: " << problem << "\n\n";
    PrintUsage(std::cerr);
    return kExitUsage;
}

}  // namespace vorlane::cli
