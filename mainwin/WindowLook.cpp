#include "mainwin/WindowLook.h"

#include <QEvent>
#include <QPainter>
#include <QPalette>
#include <algorithm>

namespace vorlane {

namespace {

// Paints black behind a label's text, and nothing while it has none.
class NoticeBackground : public QObject {
  public:
    explicit NoticeBackground(QLabel& label) : QObject(&label) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* label = static_cast<QLabel*>(watched);
        if (event->type() == QEvent::Paint && !label->text().isEmpty()) {
            // Inside the label's paint event: its own painting (the text) follows.
            QPainter(label).fillRect(label->rect(), Qt::black);
        }
        return false;
    }
};

}  // namespace

void PaintWindow(QWidget& window, const QColor& background) {
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, Qt::white);
    window.setPalette(palette);
    window.setAutoFillBackground(true);
}

void MakeNoticeLabel(QLabel& label) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label.setPalette(palette);
    label.setAutoFillBackground(false);
    label.setMargin(2);
    label.installEventFilter(new NoticeBackground(label));
}

QLabel* NamedLabel(const QString& objectName, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QString ShownText(const std::string& text) {
    QString shown = QString::fromStdString(text);
    shown.remove(QLatin1Char('\r'));
    return shown;
}

void FitButtonHeight(QPushButton& button, int pixels) {
    button.setFixedHeight(std::max(pixels, button.sizeHint().height()));
}

void FitButtonWidth(QPushButton& button, int pixels, const QStringList& captions) {
    int width = std::max(pixels, button.sizeHint().width());
    const QString shown = button.text();
    for (const QString& caption : captions) {
        button.setText(caption);
        width = std::max(width, button.sizeHint().width());
    }
    button.setText(shown);
    button.setFixedWidth(width);
}

QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/vorlane/icons/vorlane-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace vorlane
