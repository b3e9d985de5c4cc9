#pragma once
// Colours and small helpers the windows share.

#include <QColor>
#include <QLabel>
#include <QWidget>

namespace vorlane {

// The choice windows' background; the date window follows the purge-type window.
inline const QColor kChoiceWindowColour(0, 64, 96);
// The files window: dark red.
inline const QColor kFilesWindowColour(128, 0, 0);

// Paints the widget's background and gives its labels and option texts white text.
void PaintWindow(QWidget& window, const QColor& background);

// White text on black, shown only while there is something to say.
void MakeNoticeLabel(QLabel& label);

// A label with its object name and an accessible name that follows its text.
QLabel* NamedLabel(const QString& objectName, const QString& text, QWidget* parent);

}  // namespace vorlane
