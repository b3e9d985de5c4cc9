#pragma once
// The look of the screenshot programs: with VORLANE_DARK set, a dark palette, as a
// desktop's dark theme gives the program one; with VORLANE_FONT_POINTS, a font of that
// size, as a person who reads large text chooses.

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>

inline void ApplyScreenshotLook() {
    if (const int points = qEnvironmentVariableIntValue("VORLANE_FONT_POINTS"); points > 0) {
        QFont font = QApplication::font();
        font.setPointSize(points);
        QApplication::setFont(font);
    }
    if (!qEnvironmentVariableIsSet("VORLANE_DARK")) {
        return;
    }
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QPalette dark;
    const QColor window(45, 45, 48);
    const QColor base(30, 30, 32);
    const QColor text(230, 230, 230);
    dark.setColor(QPalette::Window, window);
    dark.setColor(QPalette::WindowText, text);
    dark.setColor(QPalette::Base, base);
    dark.setColor(QPalette::AlternateBase, window);
    dark.setColor(QPalette::Text, text);
    dark.setColor(QPalette::Button, window);
    dark.setColor(QPalette::ButtonText, text);
    dark.setColor(QPalette::ToolTipBase, window);
    dark.setColor(QPalette::ToolTipText, text);
    dark.setColor(QPalette::Highlight, QColor(61, 142, 201));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(120, 120, 120));
    dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(120, 120, 120));
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 120, 120));
    QApplication::setPalette(dark);
}
