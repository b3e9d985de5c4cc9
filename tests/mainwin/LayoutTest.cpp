// The main window's layout as a person sees it: labels beside their commands whatever
// is hidden, the setup panel's buttons whole and apart at a large font, and no black
// left behind by an emptied notice.

#include <QApplication>
#include <QPushButton>

#include "mainwin/GuiTestEnvironment.h"
#include "mainwin/MainWindow.h"
#include "selection/ScriptedDialogs.h"

using vorlane::MainWindow;
using vorlane::testing::ScriptedDialogs;

namespace {

// The vertical span of a widget in the window's coordinates.
std::pair<int, int> SpanOf(const QWidget& widget) {
    const int top = widget.mapTo(widget.window(), QPoint(0, 0)).y();
    return {top, top + widget.height()};
}

bool Beside(const QWidget& label, const QWidget& command) {
    const auto [labelTop, labelBottom] = SpanOf(label);
    const auto [top, bottom] = SpanOf(command);
    const int middle = (labelTop + labelBottom) / 2;
    return middle >= top && middle <= bottom;
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

class LayoutTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        window = std::make_unique<MainWindow>(dialogs);
        window->StartUp();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() { window.reset(); }
    void initTestCase() {
        // A person's larger font: 14 points.
        QFont font = QApplication::font();
        font.setPointSize(14);
        QApplication::setFont(font);
    }
    void labelsStayBesideTheirCommands();
    void setupButtonsAreWholeAndApart();
    void emptiedNoticeLeavesNoBlack();
    void commandsShowTheirWholeCaption();

  private:
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> window;
};

// The speed test and the folder purge hide the target's labels and Clear; the rest
// stay in their rows.
void LayoutTest::labelsStayBesideTheirCommands() {
    window->State().labels.typeOfPurge = "Random bytes plus zeros, once (= 2 overwrites)";
    window->State().labels.purgeSpeed = "61.39 MB/sec. (1 overwrite) for Drive /.";
    window->State().labels.setupFilename = "/home/u/letters.vns";
    window->Refresh();
    const std::pair<const char*, const char*> rows[] = {{"lblTypeOfPurge", "cmdTypeOfPurge"},
                                                        {"lblPurgeSpeed", "cmdProcessFiles_1"},
                                                        {"lblSetupFilename", "cmdSetup"}};
    for (const char* hidden :
         {"lblSingleFile", "lblDirectory_0", "lblFiles_0", "lblFiles2_0", "lblSubdirectories",
          "lblSubdirectories2", "lblEstimatedTime", "lblDateRestriction"}) {
        window->Label(hidden)->hide();
    }
    window->Button("cmdClear")->hide();
    QCoreApplication::processEvents();
    for (const auto& [label, command] : rows) {
        QVERIFY2(Beside(*window->Label(label), *window->Button(command)), label);
    }
}

// All five beside each other at the window's smallest width, each as wide as its text
// and in front.
void LayoutTest::setupButtonsAreWholeAndApart() {
    window->SetupPanel()->show();
    // As narrow as the window lets a person make it.
    window->resize(1, 1);
    QCoreApplication::processEvents();
    QList<QWidget*> buttons;
    for (const char* name :
         {"cmdLoadSetup", "cmdSaveSetup", "cmdClearSetup", "cmdRestoreSetup", "cmdKeepSetup"}) {
        QWidget* button = window->Button(name);
        QVERIFY2(button->width() >= button->sizeHint().width(), name);
        QVERIFY2(button->mapTo(window.get(), QPoint(button->width(), 0)).x() <= window->width(),
                 name);
        // Nothing lies over it: a click lands on the button.
        QCOMPARE(window->childAt(button->mapTo(window.get(), button->rect().center())), button);
        for (QWidget* other : buttons) {
            QVERIFY2(!button->geometry().intersects(other->geometry()), name);
        }
        buttons << button;
    }
}

void LayoutTest::emptiedNoticeLeavesNoBlack() {
    QLabel* notice = window->Label("lblPurgeSpeed");
    window->State().labels.purgeSpeed = "61.39 MB/sec. (1 overwrite) for Drive /.";
    window->Refresh();
    QCoreApplication::processEvents();
    QVERIFY(AnyBlack(notice->grab().toImage()));
    window->State().labels.purgeSpeed.clear();
    window->Refresh();
    QCoreApplication::processEvents();
    QVERIFY(!AnyBlack(notice->grab().toImage()));
}

// Every caption of the command frame whole, at the smallest width and a large font.
void LayoutTest::commandsShowTheirWholeCaption() {
    window->resize(1, 1);
    QCoreApplication::processEvents();
    for (QPushButton* command : window->Menu()->findChildren<QPushButton*>()) {
        QVERIFY2(command->width() >= command->sizeHint().width(), qPrintable(command->text()));
    }
}

VORLANE_GUI_TEST_MAIN(LayoutTest)
#include "LayoutTest.moc"
