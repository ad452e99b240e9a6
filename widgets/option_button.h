#pragma once
// A push button whose caption wraps onto several lines: the answer options are often
// longer than one line of the button.

#include <QPushButton>

class OptionButton : public QPushButton
{
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *event) override;
};
