#pragma once
// A link in a window's text, such as the about box's «Перейти на сайт»: Tab reaches it,
// a click, Enter or Space opens it, and a screen reader reads it as a link that can be
// pressed, not as plain text.

#include "widgets/clickable_label.h"

class LinkLabel : public ClickableLabel
{
    Q_OBJECT

public:
    explicit LinkLabel(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};
