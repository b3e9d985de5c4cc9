#pragma once
// Runs vorlane-cli (named by $VORLANE_CLI) without a terminal on standard input.

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/TempFolder.h"

namespace vorlane::testing {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// `before` prefixes the command line (a change of folder, the environment). Standard
// error goes through a file in a folder of its own.
inline CliRun RunCli(const std::string& arguments, const std::string& before = "") {
    const char* cli = std::getenv("VORLANE_CLI");
    CliRun run;
    if (cli == nullptr) {
        return run;
    }
    const TempFolder errors;
    const std::string errFile = errors.File("stderr");
    const std::string command =
        before + std::string(cli) + " " + arguments + " </dev/null 2>'" + errFile + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        run.out.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = TempFolder::Read(errFile);
    return run;
}

}  // namespace vorlane::testing
