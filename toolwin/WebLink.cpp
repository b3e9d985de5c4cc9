#include "toolwin/WebLink.h"

#include <QDesktopServices>

namespace vorlane {

std::string WebLinkFailureText(const std::string& target) {
    return "No web browser could be started.\n\nTo read the page, open this address in a web "
           "browser:\n" +
           target;
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
