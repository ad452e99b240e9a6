#pragma once
// Keying by keyboard: while the answer group is shown, 1, 2 and 3 (main row or keypad)
// press the option buttons and Backspace the undo button, wherever the focus is in the
// window. A held key keys one statement only: auto-repeated presses are swallowed.

#include <QObject>

#include <array>

class QAbstractButton;
class QKeyEvent;
class QWidget;

class KeyboardKeying : public QObject
{
    Q_OBJECT

public:
    KeyboardKeying(QWidget *window, QWidget *answerGroup,
                   const std::array<QAbstractButton *, 3> &optionButtons,
                   QAbstractButton *undoButton);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAbstractButton *buttonFor(const QKeyEvent *event) const;
    bool isInWindow(QObject *object) const;

    QWidget *m_window;
    QWidget *m_answerGroup;
    std::array<QAbstractButton *, 3> m_optionButtons;
    QAbstractButton *m_undoButton;
};
