#include "widgets/fresh_control_guard.h"

#include <QApplication>
#include <QWidget>

// The filter sits on the application: a click goes to the innermost widget under the
// pointer, which is often a child of the control that appeared.
FreshControlGuard::FreshControlGuard(QWidget *window) : QObject(window), m_window(window)
{
    m_clock.start();
    qApp->installEventFilter(this);
}

bool FreshControlGuard::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Show:
        if (isGuarded(watched))
            noteShown(static_cast<QWidget *>(watched));
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return isGuarded(watched) && isFresh(static_cast<QWidget *>(watched));
    default:
        return false;
    }
}

void FreshControlGuard::noteShown(const QWidget *widget)
{
    const qint64 now = m_clock.elapsed();
    const qint64 interval = QApplication::doubleClickInterval();
    m_shownAt.removeIf([&](const auto &entry) { return now - entry.value() >= interval; });
    m_shownAt.insert(widget, now);
}

// A child shown together with its parent gets its own show event, but a control's own
// widgets may have been shown long ago while the control was hidden around them.
bool FreshControlGuard::isFresh(const QWidget *widget) const
{
    const qint64 now = m_clock.elapsed();
    const qint64 interval = QApplication::doubleClickInterval();
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        const auto shown = m_shownAt.constFind(w);
        if (shown != m_shownAt.cend() && now - shown.value() < interval)
            return true;
        if (w->isWindow())
            break;
    }
    return false;
}

bool FreshControlGuard::isGuarded(const QObject *object) const
{
    const auto *widget = qobject_cast<const QWidget *>(object);
    if (!widget || widget == m_window)
        return false;
    const QWidget *window = widget->window();
    return window == m_window || isDialogOfWindow(window);
}

// Message boxes, file dialogs and the program's own dialogs; not the menus and lists that
// pop up where the operator clicked, which open on a press and are chosen from on release.
bool FreshControlGuard::isDialogOfWindow(const QWidget *window) const
{
    if (window->windowType() != Qt::Dialog)
        return false;
    for (const QWidget *w = window->parentWidget(); w; w = w->parentWidget()) {
        if (w == m_window)
            return true;
    }
    return false;
}
