#pragma once
// Colours and small helpers the windows share.

#include <QColor>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <string>

namespace vorlane {

// The choice windows' background; the date window follows the purge-type window.
inline const QColor kChoiceWindowColour(0, 64, 96);
// The files window: dark red.
inline const QColor kFilesWindowColour(128, 0, 0);

// Paints the widget's background and gives its labels and option texts white text.
void PaintWindow(QWidget& window, const QColor& background);

// White text on black, the black only behind a text: an emptied label leaves nothing.
void MakeNoticeLabel(QLabel& label);

// A label with its object name and an accessible name that follows its text.
QLabel* NamedLabel(const QString& objectName, const QString& text, QWidget* parent);

// A text of the core as a widget shows it: lines end in LF alone, so that no CR
// reaches the screen or a screen reader.
QString ShownText(const std::string& text);

// At least `pixels` high, and as high as the button's text needs in its font.
void FitButtonHeight(QPushButton& button, int pixels);
// The given width unless the text needs more: a larger font never clips the caption.
// With captions, wide enough for each of them (the button's text stays).
void FitButtonWidth(QPushButton& button, int pixels, const QStringList& captions = {});

// The program's own icon, from the program's resources.
QIcon ProgramIcon();

}  // namespace vorlane
