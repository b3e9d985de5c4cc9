#include "selection/FilesChoice.h"

#include "support/Strings.h"

namespace vorlane {

namespace {

FilesChoiceResult AcceptExtension(std::string text) {
    text = TrimText(text);
    if (text.starts_with("*.")) {
        text.erase(0, 2);
    } else if (text.starts_with(".")) {
        text.erase(0, 1);
    }
    if (text.find('.') != std::string::npos) {
        return {false, {}, "Extension must not contain \".\"."};
    }
    if (text.empty()) {
        return {};
    }
    return {true, "*." + LowerCaseText(text), {}};
}

}  // namespace

FilesChoiceResult AcceptFilesChoice(const FilesChoiceInput& input) {
    switch (input.kind) {
        case FilesKind::SingleFile:
            if (input.selectedFile.empty()) {
                return {};
            }
            // Names on this system differ by case: the file keeps its own name.
            return {true, input.selectedFile, {}};
        case FilesKind::AllFiles:
            return {true, std::string(kAllFiles), {}};
        case FilesKind::Extension:
            return AcceptExtension(input.extensionText);
        case FilesKind::Filespec: {
            const std::string spec = TrimText(input.filespecText);
            if (spec.empty()) {
                return {};
            }
            // A name without wildcards is one file: Linux names are bytes, so it is kept
            // as typed, case and blanks and all. A pattern ignores case anyway.
            if (!HasWildcard(spec)) {
                return {true, input.filespecText, {}};
            }
            return {true, LowerCaseText(spec), {}};
        }
    }
    return {};
}

std::string FilesOptionCaption(FilesKind kind, const std::string& action) {
    switch (kind) {
        case FilesKind::SingleFile:
            return action + " a single file:";
        case FilesKind::AllFiles:
            return action + " all files (*.*)";
        case FilesKind::Extension:
            return action + " all files with a particular extension, e.g., txt or doc:";
        case FilesKind::Filespec:
            return action + " all files satisfying a file specification, e.g., a*.d*:";
    }
    return {};
}

}  // namespace vorlane
