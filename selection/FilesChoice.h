#pragma once
// The choice of the files window: which files of the target folder are meant.

#include <string>

namespace vorlane {

enum class FilesKind { SingleFile, AllFiles, Extension, Filespec };

struct FilesChoiceInput {
    FilesKind kind = FilesKind::AllFiles;
    std::string selectedFile;  // the single-file list's selection, or empty
    std::string extensionText;
    std::string filespecText;
};

struct FilesChoiceResult {
    bool accepted = false;
    std::string fileSpec;  // the file's own name, or lower case "*.*", "*.ext" or a specification
    std::string refusal;   // a message to show; the window stays open
};

FilesChoiceResult AcceptFilesChoice(const FilesChoiceInput& input);

// The captions of the four options, for the given action word ("purge").
std::string FilesOptionCaption(FilesKind kind, const std::string& action);

}  // namespace vorlane
