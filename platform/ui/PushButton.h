#pragma once

#include <QPushButton>

namespace platform::ui {

// A window's push button: Enter presses it while it has the focus, as Space does.
class PushButton : public QPushButton
{
public:
    explicit PushButton(QWidget* parent = nullptr) : QPushButton(parent) {}

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace platform::ui
