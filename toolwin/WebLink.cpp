#include "toolwin/WebLink.h"

#include <QDesktopServices>

#include "support/Strings.h"

namespace vorlane {
namespace {

constexpr int kNoAssociation = 31;

}  // namespace

std::string WebLinkFailureText(const std::string& target) {
    return "Error launching web browser, error code = " + std::to_string(kNoAssociation) +
           ".\n\nFile extension '" + FileExtension(target, true) +
           "' is not associated with any application program.";
}

void OpenWebLink(const std::string& target, Dialogs& dialogs, const UrlOpener& opener) {
    const QUrl url = QUrl::fromUserInput(QString::fromStdString(target));
    const bool opened = opener ? opener(url) : QDesktopServices::openUrl(url);
    if (!opened) {
        dialogs.Ask({WebLinkFailureText(target), "Cannot launch web browser", MessageButtons::Ok, 1,
                     MessageIcon::Exclamation});
    }
}

}  // namespace vorlane
