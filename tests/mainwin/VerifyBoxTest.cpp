// The box "Verify the last overwrite" of the purge confirmation: it opens as the settings
// store holds it, a Yes stores it, a No leaves the store alone, and no operation file
// carries it.

#include <QCheckBox>

#include "mainwin/GuiTestEnvironment.h"
#include "mainwin/PurgeConfirmationWindow.h"
#include "tools/VerifySetting.h"

namespace vorlane::testing {

class VerifyBoxTest : public QObject {
    Q_OBJECT

    struct Opening {
        bool ticked = false;  // the box as it opened
        bool yes = false;     // the window's answer
    };

    // Opens a fresh window, as a new run of the program would; `tick` sets the box once it
    // shows, and Yes or No is clicked.
    static Opening Answer(bool tick, bool yes, PurgeOptions& options) {
        PurgeConfirmationWindow window(nullptr);
        Opening opening;
        ClickWhenShown("frmPurgeConfirmation", yes ? "cmdDoPurge" : "cmdCancel",
                       [&](QWidget* shown) {
                           auto* box = shown->findChild<QCheckBox*>("verifyLastOverwrite");
                           opening.ticked = box->isChecked();
                           box->setChecked(tick);
                       });
        opening.yes = window.Choose("Purge?", "Yes, purge", false, "/", options);
        return opening;
    }

  private slots:
    void theStoreCarriesTheBoxFromOneRunToTheNext() {
        PurgeOptions options;
        Opening first = Answer(true, true, options);
        QVERIFY(first.yes && !first.ticked);
        QVERIFY(options.verifyLastOverwrite);
        QVERIFY(StoredVerifyLastOverwrite());

        // A No stores nothing.
        Opening declined = Answer(false, false, options);
        QVERIFY(!declined.yes && declined.ticked);
        QVERIFY(StoredVerifyLastOverwrite());

        Opening off = Answer(false, true, options);
        QVERIFY(off.yes && off.ticked);
        QVERIFY(!options.verifyLastOverwrite);
        QVERIFY(!StoredVerifyLastOverwrite());
        QVERIFY(!Answer(false, false, options).ticked);
    }
};

}  // namespace vorlane::testing

VORLANE_GUI_TEST_MAIN(vorlane::testing::VerifyBoxTest)
#include "VerifyBoxTest.moc"
