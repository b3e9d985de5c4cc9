#pragma once
// A command button of the main window. A mouse-up command fires on the release of any
// mouse button over it (a plain push button ignores the right button), and on keyboard
// activation; a click command fires as a push button does. Either may take the
// keyboard focus when the mouse moves over it.

#include <QPushButton>
#include <functional>

namespace vorlane {

class CommandButton : public QPushButton {
    Q_OBJECT

  public:
    enum class Fires { OnMouseUp, OnClick };

    CommandButton(const QString& objectName, const QString& caption, Fires fires,
                  QWidget* parent = nullptr);

    // Whether moving the mouse over the button gives it the focus (default: yes).
    void SetFocusOnHover(std::function<bool()> allowed) { focusOnHover_ = std::move(allowed); }

  signals:
    void fired();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;

  private:
    Fires fires_;
    bool inMouseRelease_ = false;
    std::function<bool()> focusOnHover_;
};

}  // namespace vorlane
