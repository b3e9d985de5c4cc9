// The online documentation's link, with a stand-in for the desktop's opener.

#include "mainwin/GuiTestEnvironment.h"
#include "mainwin/MainWindow.h"
#include "selection/ScriptedDialogs.h"
#include "support/ProgramText.h"
#include "toolwin/ToolCommands.h"
#include "toolwin/WebLink.h"

using vorlane::MessageAnswer;
using vorlane::MessageButtons;
using vorlane::MessageIcon;
using vorlane::testing::ScriptedDialogs;

class WebLinkTest : public QObject {
    Q_OBJECT

  private slots:
    // Nothing on the desktop could open the address: the person is told so, and gets the
    // address to open by hand, not a code about file extensions.
    void failedOpenGivesTheAddress() {
        ScriptedDialogs dialogs;
        vorlane::MainWindow main(dialogs);
        vorlane::ToolCommands tools(main, dialogs);
        QList<QUrl> requested;
        tools.opener = [&](const QUrl& url) {
            requested.append(url);
            return false;
        };
        tools.OpenOnlineDocumentation();

        const std::string address = vorlane::GetText(27);
        QVERIFY(!address.empty());
        QCOMPARE(requested, QList<QUrl>{QUrl(QString::fromStdString(address))});
        QCOMPARE(dialogs.asked.size(), size_t(1));
        const vorlane::Question& told = dialogs.asked.front();
        QCOMPARE(told.title, std::string("Cannot launch web browser"));
        QCOMPARE(told.buttons, MessageButtons::Ok);
        QCOMPARE(told.icon, MessageIcon::Exclamation);
        QCOMPARE(told.text,
                 "No web browser could be started.\n\nTo read the page, open this "
                 "address in a web browser:\n" +
                     address);
    }

    void openedLinkAsksNothing() {
        ScriptedDialogs dialogs;
        vorlane::OpenWebLink("https://example.org/page", dialogs,
                             [](const QUrl& url) { return url.host() == "example.org"; });
        QVERIFY(dialogs.asked.empty());
    }
};

VORLANE_GUI_TEST_MAIN(WebLinkTest)
#include "WebLinkTest.moc"
