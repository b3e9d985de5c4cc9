#include <iostream>

#include "cli/Commands.h"
#include "cli/ExitStatus.h"
#include "cli/Help.h"
#include "cli/TargetOptions.h"
#include "operation/SetupChoices.h"
#include "platform/Terminal.h"
#include "support/PathChecks.h"
#include "support/Strings.h"
#include "tools/SetupFile.h"

namespace vorlane::cli {

int RunSaveSetupCommand(const std::vector<std::string>& words) {
    constexpr const char* kCommand = "save-setup";
    const CommandSpec& spec = SaveSetupCommandSpec();
    Options options(words, spec.options);
    if (const auto status = FirstChecks(spec, options, true)) {
        return *status;
    }
    if (options.Operands().size() != 1) {
        return UsageError(kCommand,
                          options.Operands().empty()
                              ? "missing operation file operand"
                              : "one operation file, not '" + options.Operands()[1] + "' too");
    }
    const auto choices = TargetChoices(options);
    if (!choices) {
        return UsageError(kCommand, choices.error().text);
    }
    const std::string& path = options.Operands().front();
    if (const std::error_code refused = CreateAccessError(path)) {
        PrintError("cannot write '" + ShownName(path) + "': " + platform::SystemErrorText(refused));
        return kExitRefused;
    }
    Setup setup = SetupFromChoices(*choices);
    setup.versionText = VORLANE_SETUP_VERSION;
    if (!SaveSetupToFile(path, setup)) {
        PrintError("cannot write '" + ShownName(path) +
                   "' (an operation file cannot hold a name with a line break)");
        return kExitRefused;
    }
    return kExitAllDone;
}

}  // namespace vorlane::cli
