#include "app/fresh_control_guard.h"

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
        if (isInWindow(watched))
            noteShown(static_cast<QWidget *>(watched));
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return isInWindow(watched) && isFresh(static_cast<QWidget *>(watched));
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
        if (w == m_window)
            break;
    }
    return false;
}

bool FreshControlGuard::isInWindow(const QObject *object) const
{
    const auto *widget = qobject_cast<const QWidget *>(object);
    return widget && widget != m_window && widget->window() == m_window;
}
