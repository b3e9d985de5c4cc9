#include "mainwin/QtDialogs.h"

#include <QFileDialog>
#include <QMessageBox>

#include "mainwin/WindowLook.h"

namespace vorlane {

namespace {

// A title bar holds one line: a title given in several becomes one.
QString TitleText(const std::string& title) {
    return QString::fromStdString(title).replace(u'\n', u' ');
}

struct ButtonSet {
    QMessageBox::StandardButton button;
    MessageAnswer answer;
};

std::vector<ButtonSet> ButtonsOf(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return {{QMessageBox::Ok, MessageAnswer::Ok}};
        case MessageButtons::OkCancel:
            return {{QMessageBox::Ok, MessageAnswer::Ok},
                    {QMessageBox::Cancel, MessageAnswer::Cancel}};
        case MessageButtons::YesNo:
            return {{QMessageBox::Yes, MessageAnswer::Yes}, {QMessageBox::No, MessageAnswer::No}};
        case MessageButtons::YesNoCancel:
            return {{QMessageBox::Yes, MessageAnswer::Yes},
                    {QMessageBox::No, MessageAnswer::No},
                    {QMessageBox::Cancel, MessageAnswer::Cancel}};
    }
    return {};
}

QMessageBox::Icon IconOf(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Critical:
            return QMessageBox::Critical;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

MessageAnswer CancelAnswer(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return MessageAnswer::Ok;
        case MessageButtons::YesNo:
            return MessageAnswer::No;
        default:
            return MessageAnswer::Cancel;
    }
}

int QtDialogs::Run(QDialog& dialog) {
    open_ = &dialog;
    const int result = dialog.exec();
    open_ = nullptr;
    return result;
}

MessageAnswer QtDialogs::Ask(const Question& question) {
    if (closed_) {
        return CancelAnswer(question.buttons);
    }
    QMessageBox box(IconOf(question.icon), TitleText(question.title), ShownText(question.text),
                    QMessageBox::NoButton, owner_);
    const std::vector<ButtonSet> buttons = ButtonsOf(question.buttons);
    for (const ButtonSet& set : buttons) {
        box.addButton(set.button);
    }
    const std::size_t defaultIndex = static_cast<std::size_t>(question.defaultButton - 1);
    if (defaultIndex < buttons.size()) {
        box.setDefaultButton(buttons[defaultIndex].button);
    }
    box.setEscapeButton(buttons.size() == 1 ? buttons.front().button
                                            : ButtonsOf(question.buttons).back().button);
    Run(box);
    if (closed_) {
        return CancelAnswer(question.buttons);
    }
    const auto clicked = box.standardButton(box.clickedButton());
    for (const ButtonSet& set : buttons) {
        if (set.button == clicked) {
            return set.answer;
        }
    }
    return CancelAnswer(question.buttons);
}

std::string QtDialogs::OpenFileName(const std::string& title) {
    if (closed_) {
        return {};
    }
    QFileDialog dialog(owner_, TitleText(title));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("All files (*)"));
    // A link is chosen as the link: what it points to is not what the person named.
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontResolveSymlinks |
                      QFileDialog::ReadOnly);
    if (Run(dialog) != QDialog::Accepted || closed_ || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().front().toStdString();
}

std::string QtDialogs::OperationFileName(const std::string& title, bool forSaving) {
    if (closed_) {
        return {};
    }
    QFileDialog dialog(owner_, TitleText(title));
    dialog.setNameFilter(QStringLiteral("Operation files (*.vns)"));
    dialog.setAcceptMode(forSaving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(forSaving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The program asks its own overwrite question; the dialog's would be a second one.
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    if (Run(dialog) != QDialog::Accepted || closed_ || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().front().toStdString();
}

std::string QtDialogs::BrowseForFolder(const std::string& title) {
    if (closed_) {
        return {};
    }
    QFileDialog dialog(owner_, TitleText(title));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::ShowDirsOnly |
                      QFileDialog::ReadOnly);
    if (Run(dialog) != QDialog::Accepted || closed_ || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().front().toStdString();
}

std::string QtDialogs::ReportFileName(const std::string& title) {
    if (closed_) {
        return {};
    }
    QFileDialog dialog(owner_, TitleText(title));
    dialog.setNameFilters({QStringLiteral("Text files (*.txt)"), QStringLiteral("All files (*)")});
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // No question of the program's own comes after it: the dialog's overwrite question stays.
    dialog.setOptions(QFileDialog::DontUseNativeDialog);
    if (Run(dialog) != QDialog::Accepted || closed_ || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().front().toStdString();
}

void QtDialogs::Close() {
    closed_ = true;
    if (open_) {
        open_->reject();
    }
}

}  // namespace vorlane
