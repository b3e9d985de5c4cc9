#pragma once
// After a purge the emptied target folder may go too, if the person wants it.

#include <functional>
#include <string>

#include "operation/OperationInterface.h"

namespace vorlane {

using AskFunction = std::function<MessageAnswer(const Question&)>;

// Whether the folder may be offered for deletion at all: never "/", a mount point, the
// home folder or any part of a Trash, and only while it is empty.
bool MayOfferFolderDeletion(const std::string& folder);

// Asks whether to delete the emptied folder. The folder goes only when it is still
// empty at the answer: a file created while the question was open stays, and the
// person is told why the folder did. Returns the text of the main window's top-folder
// label: "<folder> has been deleted.", or empty.
std::string OfferFolderDeletion(const std::string& folder, const AskFunction& ask);

}  // namespace vorlane
