// The main window and its windows as a person meets them, at a 14 point font: start-up,
// hover focus, F10, the free-space command's place and key, the menu around modal
// windows, commands wired once, the files window cancelled, tabbed through or taking a
// Return, a refused date, the confirmation's ticks and its verify box kept from run to
// run, the labels behind a question and beside their commands, the date window's
// fields, the setup panel, and what a screen reader is told.

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QSignalSpy>

#include "common/TempFolder.h"
#include "mainwin/DateInputWindow.h"
#include "mainwin/FileSelectionWindow.h"
#include "mainwin/GuiTestEnvironment.h"
#include "mainwin/MainWindow.h"
#include "mainwin/PurgeConfirmationWindow.h"
#include "mainwin/PurgeTypeWindow.h"
#include "mainwin/QtDialogs.h"
#include "mainwin/ReportWindow.h"
#include "mainwin/WindowLook.h"
#include "selection/ScriptedDialogs.h"
#include "selection/TargetDisplay.h"
#include "support/Folders.h"
#include "tools/VerifySetting.h"

using vorlane::MessageAnswer;
using vorlane::PurgeConfirmationWindow;
using vorlane::PurgeOptions;
using vorlane::testing::Child;
using vorlane::testing::TempFolder;

namespace {

QAccessibleInterface* Accessible(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

// Runs `act` in `modal` once the call `show` has opened it, then closes it with `close`.
template <typename Show>
auto InModal(QWidget& modal, const std::function<void()>& act, const std::function<void()>& close,
             Show show) {
    vorlane::testing::When([&modal] { return modal.isVisible(); },
                           [act, close] {
                               act();
                               close();
                           });
    return show();
}

bool Confirm(PurgeConfirmationWindow& window, bool subfolders, PurgeOptions& options,
             const std::function<void()>& act, const char* answer) {
    return InModal(
        window, act, [&window, answer] { Child<QPushButton>(window, answer)->click(); },
        [&] { return window.Choose("Are you\r\nsure?", "Yes", subfolders, "/", options); });
}

// A fresh confirmation window, as a new run of the program opens it: how its box
// "Verify the last overwrite" opened, and its answer once `tick` set the box.
struct VerifyOpening {
    bool ticked = false;
    bool yes = false;
};

VerifyOpening AnswerWithVerify(bool tick, bool yes, PurgeOptions& options) {
    PurgeConfirmationWindow window(nullptr);
    VerifyOpening opening;
    vorlane::testing::ClickWhenShown(
        "frmPurgeConfirmation", yes ? "cmdDoPurge" : "cmdCancel", [&](QWidget* shown) {
            auto* box = Child<QCheckBox>(*shown, "verifyLastOverwrite");
            opening.ticked = box->isChecked();
            box->setChecked(tick);
        });
    opening.yes = window.Choose("Purge?", "Yes, purge", false, "/", options);
    return opening;
}

bool Beside(const QWidget& label, const QWidget& command) {
    const int middle = label.mapTo(label.window(), QPoint(0, label.height() / 2)).y();
    const int top = command.mapTo(command.window(), QPoint(0, 0)).y();
    return middle >= top && middle <= top + command.height();
}

bool AnyBlack(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == Qt::black) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    vorlane::testing::ScriptedDialogs dialogs;
    std::unique_ptr<vorlane::MainWindow> window;
    TempFolder temp;

    QString Label(const char* name) const { return window->Label(name)->text(); }
    // Specify folder on the temporary folder, answering "purge ALL files" with Yes.
    void SpecifyFolderWithAllFiles() {
        dialogs.folders = {temp.Path()};
        dialogs.answers = {MessageAnswer::Yes};
        emit window->Button("cmdSpecifyDirectory_0")->fired();
    }

  private slots:
    void initTestCase() {
        QFont font = QApplication::font();
        font.setPointSize(14);
        QApplication::setFont(font);
        temp.Write("letter.txt", "x");
    }
    void init() {
        window = std::make_unique<vorlane::MainWindow>(dialogs);
        window->StartUp();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() { window.reset(); }

    void startUpWithoutSavedSetup() {
        QVERIFY(window->isVisible());
        QCOMPARE(Label("lblDirectory_0").toStdString(), vorlane::GetText(4));
        QCOMPARE(window->focusWidget(), window->Button("cmdSpecifyDirectory_0"));
        QVERIFY(window->State().startupCompleted);
        QCOMPARE(window->windowTitle().toStdString(), vorlane::GetText(2));
    }

    void hoverGivesTheFocus() {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        vorlane::CommandButton* quit = window->Button("cmdQuit");
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(quit, &enter);
        QCOMPARE(window->focusWidget(), quit);
        // Clear is not among the commands that follow the mouse.
        QApplication::sendEvent(window->Button("cmdClear"), &enter);
        QCOMPARE(window->focusWidget(), quit);
        window->EnableMenu(false);
        QApplication::sendEvent(window->Button("cmdHelp"), &enter);
        QVERIFY(window->focusWidget() != window->Button("cmdHelp"));
    }

    void interruptKeyOnRelease() {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        vorlane::CommandButton* files = window->Button("cmdSpecifyFiles_0");
        files->setFocus();
        QTest::keyPress(files, Qt::Key_F10);
        QVERIFY(!window->Control().InterruptRequested());
        QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_F10, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(files, &repeated);
        QVERIFY(!window->Control().InterruptRequested());
        QTest::keyRelease(files, Qt::Key_F10);
        QVERIFY(window->Control().InterruptRequested());
    }

    void menuIsDisabledAroundModalWindows() {
        QList<bool> menuEnabled;
        QList<QWidget*> shown;
        for (const char* button : {"cmdTypeOfPurge", "cmdOnlyBefore"}) {
            QTimer::singleShot(0, [&] {
                menuEnabled << window->Menu()->isEnabled();
                shown << QApplication::activeModalWidget();
                if (shown.last()) {
                    QTest::keyClick(shown.last(), Qt::Key_Escape);
                }
            });
            QTest::mouseClick(window->Button(button), Qt::LeftButton);
            QVERIFY(window->Menu()->isEnabled());
        }
        QCOMPARE(menuEnabled, (QList<bool>{false, false}));
        QVERIFY(shown[0] && shown[1]);
        QCOMPARE(shown[0]->objectName(), QString("frmTypeOfPurge"));
        QCOMPARE(shown[1]->objectName(), QString("frmCEDateInput"));
    }

    // "Purge free space" lies below the speed test on the screen and in the tab order;
    // Alt+F fires it, and no other control of the window answers to that key.
    void freeSpaceCommandFollowsTheSpeedTestAndAnswersAltF() {
        vorlane::CommandButton* speed = window->Button("cmdTestPurgeSpeed");
        vorlane::CommandButton* fill = window->Button("cmdPurgeFreeSpace");
        vorlane::CommandButton* report = window->Button("cmdReportScreen");
        QVERIFY(fill && fill->isVisible());
        QVERIFY(fill->y() >= speed->y() + speed->height());
        QVERIFY(report->y() >= fill->y() + fill->height());
        QCOMPARE(speed->nextInFocusChain(), fill);
        QCOMPARE(fill->nextInFocusChain(), report);
        QCOMPARE(Accessible(fill)->text(QAccessible::Name), QString("Purge free space"));
        QVERIFY(!Accessible(fill)->text(QAccessible::Description).isEmpty());

        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        const QKeySequence key(Qt::ALT | Qt::Key_F);
        int answering = 0;
        for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
            answering += button->shortcut() == key ? 1 : 0;
        }
        QCOMPARE(answering, 1);
        QSignalSpy fired(fill, &vorlane::CommandButton::fired);
        QTest::keyClick(window.get(), Qt::Key_F, Qt::AltModifier);
        QVERIFY(fired.wait(2000));
    }

    // A second handler neither replaces the first nor runs beside it, whether the window
    // or the tools wired the button.
    void aButtonKeepsItsFirstCommand() {
        int first = 0;
        int second = 0;
        QVERIFY(window->WireCommand(
            "cmdHelp", [&] { ++first; }, false));
        QVERIFY(!window->WireCommand(
            "cmdHelp", [&] { ++second; }, false));
        QVERIFY(!window->WireCommand("cmdQuit", [&] { ++second; }));
        window->Button("cmdHelp")->click();
        QCOMPARE(first, 1);
        QCOMPARE(second, 0);
    }

    // The files window opens on "a single file"; its Cancel keeps "all files".
    void cancelledFilesWindowKeepsAPattern() {
        SpecifyFolderWithAllFiles();
        auto& files = window->Windows().SpecifyFilesWindow();
        InModal(
            files, [] {}, [&] { Child<QPushButton>(files, "cmdCancel")->click(); },
            [&] { emit window->Button("cmdSpecifyFiles_0")->fired(); });
        QCOMPARE(Label("lblFiles_0"), QString("*.*"));
        // A single file that has gone is still let go.
        window->State().choices.targetFilespec = "gone.txt";
        vorlane::ShowTarget(window->State());
        QVERIFY(window->State().choices.targetFilespec.empty());
    }

    // Tabbing past both boxes keeps "all files"; a click or typing chooses a box.
    void focusAloneNeverChangesTheFilesOption() {
        vorlane::FileSelectionWindow files(dialogs, nullptr);
        std::vector<bool> chosen;
        auto option = [&](const char* name) { return Child<QRadioButton>(files, name); };
        const vorlane::FilesChoiceResult result = InModal(
            files,
            [&] {
                option("optAllFiles")->click();
                for (const char* box : {"txbExtension", "txbFilespec"}) {
                    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
                    QApplication::sendEvent(Child(files, box), &in);
                }
                chosen.push_back(option("optAllFiles")->isChecked());
                QTest::mouseClick(Child(files, "txbExtension"), Qt::LeftButton);
                chosen.push_back(option("optExtension")->isChecked());
                QTest::keyClicks(Child(files, "txbFilespec"), "a*");
                chosen.push_back(option("optMultipleFiles")->isChecked());
            },
            [&] { Child<QPushButton>(files, "cmdAccept")->click(); },
            [&] { return files.Choose("/nowhere", 0, "purge"); });
        QCOMPARE(chosen, (std::vector<bool>{true, true, true}));
        QCOMPARE(result.fileSpec, std::string("a*"));
    }

    // A tick before a No is there at the next opening; options loaded since are shown.
    void confirmationKeepsItsTicks() {
        PurgeConfirmationWindow confirmation(nullptr);
        auto box = [&](const char* name) { return Child<QCheckBox>(confirmation, name); };
        PurgeOptions options;
        Confirm(
            confirmation, true, options, [&] { box("chkConfirmFiles")->click(); }, "cmdCancel");
        bool ticked = false;
        Confirm(
            confirmation, true, options, [&] { ticked = box("chkConfirmFiles")->isChecked(); },
            "cmdCancel");
        QVERIFY(ticked);
        options.okToPurgeSystemFiles = true;
        Confirm(
            confirmation, true, options,
            [&] {
                ticked = box("chkConfirmFiles")->isChecked() ||
                         !box("chkOKToPurgeSystemFiles")->isChecked();
            },
            "cmdCancel");
        QVERIFY(!ticked);
        // Without subfolders "Delete empty folders" is hidden, and keeps its value.
        bool hidden = false;
        QVERIFY(Confirm(
            confirmation, false, options,
            [&] { hidden = !box("chkDeleteEmptyFolders")->isVisible(); }, "cmdDoPurge"));
        QVERIFY(hidden && options.deleteEmptyFolders);
        QCOMPARE(Child<QLabel>(confirmation, "lblMessage")->text(), QString("Are you\nsure?"));
    }

    // The verify box opens as the settings store holds it; a Yes stores it, a No does not.
    void verifyBoxIsCarriedFromOneRunToTheNext() {
        PurgeOptions options;
        const VerifyOpening first = AnswerWithVerify(true, true, options);
        QVERIFY(first.yes && !first.ticked);
        QVERIFY(options.verifyLastOverwrite && vorlane::StoredVerifyLastOverwrite());
        const VerifyOpening declined = AnswerWithVerify(false, false, options);
        QVERIFY(!declined.yes && declined.ticked);
        QVERIFY(vorlane::StoredVerifyLastOverwrite());
        const VerifyOpening off = AnswerWithVerify(false, true, options);
        QVERIFY(off.yes && off.ticked);
        QVERIFY(!options.verifyLastOverwrite && !vorlane::StoredVerifyLastOverwrite());
        QVERIFY(!AnswerWithVerify(false, false, options).ticked);
    }

    void labelsAreCurrentWhileAQuestionIsOpen() {
        QString shown;
        dialogs.onAsk = [&](const vorlane::Question& question) {
            if (question.text.starts_with("Do you wish to purge ALL files")) {
                shown = Label("lblDirectory_0");
            }
        };
        SpecifyFolderWithAllFiles();
        dialogs.onAsk = nullptr;
        QCOMPARE(shown, QString::fromStdString(temp.Path()));
    }

    // Return in the file pattern accepts it, normalised.
    void returnInThePatternAccepts() {
        vorlane::FileSelectionWindow files(dialogs, nullptr);
        QTimer::singleShot(0, [&] {
            QTest::mouseClick(Child<QAbstractButton>(files, "optMultipleFiles"), Qt::LeftButton);
            auto* box = Child<QLineEdit>(files, "txbFilespec");
            QTest::keyClicks(box, "Report*.D?C");
            QTest::keyClick(box, Qt::Key_Return);
        });
        const vorlane::FilesChoiceResult result = files.Choose("/nowhere", 0, "purge");
        QVERIFY(result.accepted);
        QCOMPARE(result.fileSpec, std::string("report*.d?c"));
    }

    // A refused date keeps the window open; the next date is taken.
    void refusedThenAcceptedDate() {
        vorlane::DateInputWindow date(dialogs, nullptr);
        auto enter = [&date](int month, int day, const char* year) {
            Child<QComboBox>(date, "cboMonthNames")->setCurrentIndex(month);
            Child<QComboBox>(date, "cboDayNumbers")->setCurrentIndex(day);
            Child<QLineEdit>(date, "txbYear")->setText(year);
            QTest::mouseClick(Child<QAbstractButton>(date, "cmdAccept"), Qt::LeftButton);
        };
        dialogs.asked.clear();
        bool open = false;
        QTimer::singleShot(0, [&] {
            enter(2, 31, "2023");
            open = date.isVisible();
            enter(1, 1, "1980");
        });
        std::int32_t jdn = vorlane::kNoDateRestrictionJdn;
        QVERIFY(date.Choose(jdn, "Only files before ...") == vorlane::DateWindowResult::Accepted);
        QVERIFY(open);
        QCOMPARE(dialogs.asked.size(), std::size_t(1));
        QCOMPARE(jdn, 2444240);
    }

    // Month, Day and Year written beside their fields, naming them.
    void dateFieldsHaveVisibleLabels() {
        auto& date = window->Windows().DateWindow();
        QStringList shown;
        std::int32_t jdn = vorlane::kNoDateRestrictionJdn;
        InModal(
            date,
            [&] {
                for (const char* field : {"cboMonthNames", "cboDayNumbers", "txbYear"}) {
                    for (QLabel* label : date.findChildren<QLabel*>()) {
                        if (label->buddy() == Child(date, field) && label->isVisible()) {
                            shown << label->text();
                        }
                    }
                }
            },
            [&] { date.reject(); }, [&] { return date.Choose(jdn, "Only files before ..."); });
        QCOMPARE(shown, (QStringList{"Month", "Day", "Year"}));
    }

    // The speed test and the folder purge hide the target's labels and Clear.
    void labelsStayBesideTheirCommands() {
        window->State().labels.setupFilename = "/home/u/letters.vns";
        window->Refresh();
        for (QLabel* label : window->findChildren<QLabel*>()) {
            label->setHidden(label->objectName() != "lblTypeOfPurge" &&
                             label->objectName() != "lblSetupFilename");
        }
        window->Button("cmdClear")->hide();
        QCoreApplication::processEvents();
        QVERIFY(Beside(*window->Label("lblTypeOfPurge"), *window->Button("cmdTypeOfPurge")));
        QVERIFY(Beside(*window->Label("lblSetupFilename"), *window->Button("cmdSetup")));
    }

    // The folder purge's progress and its F10 notice run to several lines: each shows
    // whole, and no text lies over another.
    void textsOfSeveralLinesCoverNoOther() {
        for (QLabel* label : window->findChildren<QLabel*>()) {
            label->setWordWrap(true);
            label->setMaximumHeight(QWIDGETSIZE_MAX);
        }
        vorlane::MainLabels& labels = window->State().labels;
        labels.purgeFoldersMessage =
            "154 files purged (25% of 606).\nNow purging:\n/tmp/a/b\nc/f53";
        labels.largePurgeMessage =
            "To interrupt this operation upon completion of the current file purge,\npress the "
            "F10 key twice and wait for the 'Cancel?' query.";
        window->Refresh();
        window->Button("cmdClear")->hide();  // as while the folders are purged
        for (int turn = 0; turn < 3; ++turn) {
            QCoreApplication::processEvents();
        }
        std::vector<std::pair<QString, QRect>> shown;
        for (QLabel* label : window->findChildren<QLabel*>()) {
            if (label->isVisible() && !label->text().isEmpty()) {
                shown.emplace_back(label->objectName(),
                                   QRect(label->mapTo(window.get(), QPoint(0, 0)), label->size()));
            }
        }
        for (std::size_t i = 0; i < shown.size(); ++i) {
            for (std::size_t j = i + 1; j < shown.size(); ++j) {
                QVERIFY2(!shown[i].second.intersects(shown[j].second),
                         qPrintable(shown[i].first + " covers " + shown[j].first));
            }
        }
    }

    // At the window's smallest width every command shows its whole caption, and the
    // setup panel's buttons lie apart and in front.
    void commandsAreWholeAndApart() {
        window->SetupPanel()->show();
        window->resize(1, 1);
        QCoreApplication::processEvents();
        QRect previous;
        for (QPushButton* command : window->findChildren<QPushButton*>()) {
            if (command->isVisible()) {
                QVERIFY2(command->width() >= command->sizeHint().width(),
                         qPrintable(command->text()));
                QCOMPARE(window->childAt(command->mapTo(window.get(), command->rect().center())),
                         command);
            }
        }
        for (const char* name :
             {"cmdLoadSetup", "cmdSaveSetup", "cmdClearSetup", "cmdRestoreSetup", "cmdKeepSetup"}) {
            QVERIFY2(!window->Button(name)->geometry().intersects(previous), name);
            previous = window->Button(name)->geometry();
        }
    }

    void emptiedNoticeLeavesNoBlack() {
        for (const std::string text : {"61.39 MB/sec. (1 overwrite) for Drive /.", ""}) {
            window->State().labels.purgeSpeed = text;
            window->Refresh();
            QCoreApplication::processEvents();
            QCOMPARE(AnyBlack(window->Label("lblPurgeSpeed")->grab().toImage()), !text.empty());
        }
    }

    void windowsAreFramesAndDialogs() {
        QCOMPARE(Accessible(window.get())->role(), QAccessible::Window);
        QCOMPARE(Accessible(&window->Windows().DateWindow())->role(), QAccessible::Dialog);
        vorlane::ReportWindow& report = window->Reports().Report();
        report.setWindowTitle("Purge files");
        QCOMPARE(Accessible(&report)->role(), QAccessible::Window);
        QCOMPARE(Accessible(&report)->text(QAccessible::Name), QString("Purge files"));
        QCOMPARE(Accessible(Child(report, "cmdClose"))->role(), QAccessible::Button);
    }

    // "Specify folder, /home/u/Letters"; a hidden label says nothing.
    void commandsSayWhatTheyHaveChosen() {
        SpecifyFolderWithAllFiles();
        auto said = [&](const char* command) {
            return Accessible(window->Button(command))->text(QAccessible::Description);
        };
        QCOMPARE(said("cmdSpecifyDirectory_0"), QString::fromStdString(temp.Path()));
        QCOMPARE(said("cmdSpecifyFiles_0"), QString("*.*, (All files.)"));
        window->Label("lblDirectory_0")->hide();
        window->Refresh();
        QCOMPARE(said("cmdSpecifyDirectory_0"), QString());
    }

    // A list's name is its value; the label it is tied to says what the value is of.
    void passesListIsNamedByItsPurpose() {
        auto& type = window->Windows().TypeOfPurgeWindow();
        window->State().purgeType.SelectType(2);
        QStringList names;
        InModal(
            type,
            [&] {
                for (QComboBox* list : type.findChildren<QComboBox*>()) {
                    for (const auto& [label, relation] :
                         Accessible(list)->relations(QAccessible::Label)) {
                        names << (list->isVisible() ? "" : "hidden: ") +
                                     label->text(QAccessible::Name);
                    }
                }
            },
            [&] { type.reject(); }, [&] { return type.Choose(window->State().purgeType); });
        QCOMPARE(names, QStringList{"Number of times ('passes'):"});
    }

    void messagesCarryNoCarriageReturn() {
        vorlane::QtDialogs real;
        QString text;
        vorlane::testing::AcceptMessageWhenShown(text);
        real.Ask({"One\r\ntwo", "Title", vorlane::MessageButtons::Ok, 1,
                  vorlane::MessageIcon::Information});
        QCOMPARE(text, QString("One\ntwo"));
    }

    void theProgramHasAnIconOfItsOwn() {
        for (const int size : {16, 48, 256}) {
            QCOMPARE(vorlane::ProgramIcon().pixmap(size).width(), size);
        }
    }
};

VORLANE_GUI_TEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
