#pragma once
// Opens a web address or a document with the program the desktop associates with it,
// and explains a failure.

#include <QUrl>
#include <functional>
#include <string>

#include "selection/Dialogs.h"

namespace vorlane {

// The desktop's opener; true when it took the request.
using UrlOpener = std::function<bool(const QUrl&)>;

// What a failed request is told. The opener gives no reason, so the text names what went
// wrong as far as it is known, and gives the address, so that it can be copied into a
// browser by hand.
std::string WebLinkFailureText(const std::string& target);

// opener: the desktop's own when empty.
void OpenWebLink(const std::string& target, Dialogs& dialogs, const UrlOpener& opener = {});

}  // namespace vorlane
