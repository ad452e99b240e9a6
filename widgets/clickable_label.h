#pragma once
// A label that reports a click of the left mouse button, as the results label and the
// about box's link need.

#include <QLabel>

class ClickableLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};
