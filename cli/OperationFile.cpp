#include "cli/OperationFile.h"

#include "tools/SetupFile.h"

namespace vorlane::cli {

bool ReadOperationFile(const std::string& path, OperationFileChoices& out) {
    Setup setup;
    if (!LoadSetupFromFile(path, setup)) {
        return false;
    }
    out = {setup.TargetFolder,
           setup.TargetFilespec,
           setup.blnSubdirectories,
           setup.blnDateRestriction,
           setup.lngOnlyBeforeThisJDN,
           setup.intPurgeType,
           setup.intNumberOfPasses,
           setup.chkDoNotDeletePurgedFiles,
           setup.chkOKToPurgeReadOnlyFiles,
           setup.chkOKToPurgeSystemFiles,
           setup.chkOKToPurgeSensitiveFiles,
           setup.chkFolderNamesOnly,
           setup.chkConfirmFiles,
           setup.chkDeleteEmptyFolders};
    return true;
}

}  // namespace vorlane::cli
