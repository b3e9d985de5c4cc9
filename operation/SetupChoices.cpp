#include "operation/SetupChoices.h"

#include "support/Strings.h"

namespace vorlane {

bool SetupFolderNamesOneFile(const std::string& targetFolder) {
    return targetFolder.size() > 1 && targetFolder.back() == '/';
}

OperationChoices ChoicesFromSetup(const Setup& setup) {
    OperationChoices choices;
    choices.targetFolder = setup.targetFolder;
    choices.targetFilespec = setup.targetFilespec;
    if (SetupFolderNamesOneFile(setup.targetFolder)) {
        choices.specRule = FileSpecRule::OneFile;
    }
    choices.subdirectories = setup.subfolders;
    choices.dateRestriction = {.active = setup.dateRestricted,
                               .onlyBeforeJdn = setup.onlyBeforeJdn};
    choices.purgeType = setup.purgeType;
    choices.numberOfPasses = setup.numberOfPasses;
    choices.options = {.doNotDeletePurgedFiles = setup.doNotDeletePurgedFiles,
                       .okToPurgeReadOnlyFiles = setup.okToPurgeReadOnlyFiles,
                       .okToPurgeSystemFiles = setup.okToPurgeSystemFiles,
                       .okToPurgeSensitiveFiles = setup.okToPurgeSensitiveFiles,
                       .folderNamesOnly = setup.folderNamesOnly,
                       .confirmFiles = setup.confirmFiles,
                       .deleteEmptyFolders = setup.deleteEmptyFolders,
                       .purgeSlackOnly = setup.purgeSlackOnly};
    return choices;
}

Setup SetupFromChoices(const OperationChoices& choices) {
    Setup setup;
    setup.subfolders = choices.subdirectories;
    setup.dateRestricted = choices.dateRestriction.active;
    setup.targetFolder = choices.specRule == FileSpecRule::OneFile
                             ? WithTrailingSeparator(choices.targetFolder)
                             : choices.targetFolder;
    setup.targetFilespec = choices.targetFilespec;
    setup.purgeType = choices.purgeType;
    setup.numberOfPasses = choices.numberOfPasses;
    setup.purgeSlackOnly = choices.options.purgeSlackOnly;
    setup.doNotDeletePurgedFiles = choices.options.doNotDeletePurgedFiles;
    setup.okToPurgeReadOnlyFiles = choices.options.okToPurgeReadOnlyFiles;
    setup.okToPurgeSystemFiles = choices.options.okToPurgeSystemFiles;
    setup.okToPurgeSensitiveFiles = choices.options.okToPurgeSensitiveFiles;
    setup.folderNamesOnly = choices.options.folderNamesOnly;
    setup.deleteEmptyFolders = choices.options.deleteEmptyFolders;
    setup.confirmFiles = choices.options.confirmFiles;
    setup.onlyBeforeJdn = choices.dateRestriction.onlyBeforeJdn;
    return setup;
}

}  // namespace vorlane
