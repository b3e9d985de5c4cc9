#include "mainwin/FatalMessageBox.h"

#include <QMessageBox>
#include <cstdlib>
#include <iostream>

#include "mainwin/WindowLook.h"

namespace vorlane {

FatalMessageBox::FatalMessageBox(std::function<void(int)> end) : end_(std::move(end)) {}

void FatalMessageBox::EndWithMessage(const std::string& message) {
    std::cerr << "vorlane: " << message << '\n';
    QMessageBox box(QMessageBox::Critical, QString(), ShownText(message), QMessageBox::Ok);
    box.exec();
    end_(EXIT_FAILURE);
}

}  // namespace vorlane
