#include "app/keyboard_keying.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>

// The filter sits on the application: a key press goes to whichever widget has the focus,
// and no widget of the window should be able to take the keys from the keying.
KeyboardKeying::KeyboardKeying(QWidget *window, QWidget *answerGroup,
                               const std::array<QAbstractButton *, 3> &optionButtons,
                               QAbstractButton *undoButton)
    : QObject(window),
      m_window(window),
      m_answerGroup(answerGroup),
      m_optionButtons(optionButtons),
      m_undoButton(undoButton)
{
    qApp->installEventFilter(this);
}

bool KeyboardKeying::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !m_answerGroup->isVisible() || !isInWindow(watched))
        return false;
    const auto *keyEvent = static_cast<QKeyEvent *>(event);
    QAbstractButton *button = buttonFor(keyEvent);
    if (!button)
        return false;
    if (!keyEvent->isAutoRepeat() && button->isVisible() && button->isEnabled())
        button->click();
    return true;
}

QAbstractButton *KeyboardKeying::buttonFor(const QKeyEvent *event) const
{
    if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return nullptr;
    switch (event->key()) {
    case Qt::Key_1:
        return m_optionButtons[0];
    case Qt::Key_2:
        return m_optionButtons[1];
    case Qt::Key_3:
        return m_optionButtons[2];
    case Qt::Key_Backspace:
        return m_undoButton;
    default:
        return nullptr;
    }
}

bool KeyboardKeying::isInWindow(QObject *object) const
{
    const auto *widget = qobject_cast<QWidget *>(object);
    return widget && widget->window() == m_window;
}
