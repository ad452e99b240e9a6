#include "app/keyboard_keying.h"

#include "widgets/name_field.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>

// The filter sits on the application: a key press goes to whichever widget has the focus,
// and no widget of the window should be able to take the keys from the keying.
KeyboardKeying::KeyboardKeying(QWidget *window, const Controls &controls)
    : QObject(window), m_window(window), m_controls(controls)
{
    qApp->installEventFilter(this);
}

bool KeyboardKeying::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !isInWindow(watched))
        return false;
    const auto *keyEvent = static_cast<QKeyEvent *>(event);
    if ((keyEvent->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    if (m_controls.answerGroup->isVisible())
        return keyAnswer(keyEvent);
    if (m_controls.respondentGroup->isVisible())
        return pressNextOnEnter(keyEvent);
    return false;
}

// A keying key never reaches a field, whether its button can be pressed now or not.
bool KeyboardKeying::keyAnswer(const QKeyEvent *event)
{
    QAbstractButton *button = keyingButtonFor(event);
    if (!button)
        return false;
    if (!event->isAutoRepeat() && button->isVisible() && button->isEnabled())
        button->click();
    return true;
}

bool KeyboardKeying::pressNextOnEnter(const QKeyEvent *event)
{
    const bool isEnter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!isEnter)
        return false;
    if (event->isAutoRepeat())
        return true;
    if (m_controls.nextButton->isEnabled()) {
        m_controls.nextButton->click();
        return true;
    }
    QApplication::beep();
    emit enterRefused();
    // As a move by Tab: the style then marks the field as the keyboard's place.
    if (QWidget *missing = firstMissingField())
        missing->setFocus(Qt::TabFocusReason);
    return true;
}

// In the order the fields are filled: the name, then the sex.
QWidget *KeyboardKeying::firstMissingField() const
{
    if (!m_controls.nameField->isChangedByUser())
        return m_controls.nameField;
    if (m_controls.sexList->currentIndex() < 0)
        return m_controls.sexList;
    return nullptr;
}

QAbstractButton *KeyboardKeying::keyingButtonFor(const QKeyEvent *event) const
{
    switch (event->key()) {
    case Qt::Key_1:
        return m_controls.optionButtons[0];
    case Qt::Key_2:
        return m_controls.optionButtons[1];
    case Qt::Key_3:
        return m_controls.optionButtons[2];
    case Qt::Key_Backspace:
        return m_controls.undoButton;
    default:
        return nullptr;
    }
}

bool KeyboardKeying::isInWindow(QObject *object) const
{
    const auto *widget = qobject_cast<QWidget *>(object);
    return widget && widget->window() == m_window;
}
