#pragma once
// Keying by keyboard: while the answer group is shown, 1, 2 and 3 (main row or keypad)
// press the option buttons and Backspace the undo button, wherever the focus is in the
// window. A held key keys one statement only: auto-repeated presses are swallowed.
// Before that, Enter (main or keypad) in the respondent data presses "Далее" once it is
// enabled; while it is not, Enter beeps and takes the focus to the first field still
// missing, so that the answers keyed next do not run into the name field.

#include <QObject>

#include <array>

class NameField;
class QAbstractButton;
class QComboBox;
class QKeyEvent;
class QWidget;

class KeyboardKeying : public QObject
{
    Q_OBJECT

public:
    struct Controls {
        QWidget *respondentGroup;
        NameField *nameField;
        QComboBox *sexList;
        QAbstractButton *nextButton;
        QWidget *answerGroup;
        std::array<QAbstractButton *, 3> optionButtons;
        QAbstractButton *undoButton;
    };

    KeyboardKeying(QWidget *window, const Controls &controls);

signals:
    // Enter was refused with a beep; the beep cannot be observed everywhere, this can.
    void enterRefused();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool keyAnswer(const QKeyEvent *event);
    bool pressNextOnEnter(const QKeyEvent *event);
    QWidget *firstMissingField() const;
    QAbstractButton *keyingButtonFor(const QKeyEvent *event) const;
    bool isInWindow(QObject *object) const;

    QWidget *m_window;
    Controls m_controls;
};
