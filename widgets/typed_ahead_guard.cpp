#include "widgets/typed_ahead_guard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

namespace {

// The window system stamps each key event with the moment of the press, on a clock of its
// own (the X server's, the compositor's, or Qt's in tests), in milliseconds that wrap at
// 32 bits. Its offset from the program's clock is learnt from the events themselves: an
// event is delivered no sooner than it happened, so the smallest lag between stamp and
// delivery seen so far is the offset, give or take the quickest delivery. A press time
// read through it is never earlier than the real one: a key pressed after the box
// appeared is never taken for one typed ahead.
class KeyClock : public QObject
{
public:
    static KeyClock &instance()
    {
        static KeyClock *clock = new KeyClock(qApp); // lives as long as the application
        return *clock;
    }

    qint64 now() const { return m_clock.elapsed(); }

    // How long ago, in milliseconds, the key was pressed; 0 for an event without a stamp.
    qint64 ageOf(const QInputEvent *event)
    {
        if (event->timestamp() == 0)
            return 0;
        const quint32 lag = quint32(now()) - quint32(event->timestamp());
        if (!m_smallestLag || qint32(lag - *m_smallestLag) < 0)
            m_smallestLag = lag;
        return qint32(lag - *m_smallestLag);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
            ageOf(static_cast<QInputEvent *>(event));
        return false;
    }

private:
    explicit KeyClock(QObject *parent) : QObject(parent)
    {
        m_clock.start();
        qApp->installEventFilter(this);
    }

    QElapsedTimer m_clock;
    std::optional<quint32> m_smallestLag;
};

// A key that answers a box: a digit names an answer, Enter and Space press a button.
bool mayAnswer(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        return true;
    default:
        return event->key() >= Qt::Key_0 && event->key() <= Qt::Key_9;
    }
}

} // namespace

// The filter sits on the application: keys go to the box's focus widget, and the box's
// window gets the expose event.
TypedAheadGuard::TypedAheadGuard(QWidget *box) : QObject(box), m_box(box)
{
    watchKeyTimes();
    qApp->installEventFilter(this);
}

void TypedAheadGuard::watchKeyTimes()
{
    KeyClock::instance();
}

bool TypedAheadGuard::isListening() const
{
    return m_seenAt && KeyClock::instance().now() >= m_quietUntil;
}

// A box not on the screen yet starts when it appears.
void TypedAheadGuard::startAgain()
{
    if (m_seenAt)
        noteExposed();
}

bool TypedAheadGuard::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Expose:
        if (!m_seenAt && watched == m_box->windowHandle() && m_box->windowHandle()->isExposed())
            noteExposed();
        return false;
    case QEvent::Hide:
        if (watched == m_box)
            m_seenAt.reset(); // shown again, it is new again
        return false;
    case QEvent::ShortcutOverride:
        // Taken here, a refused key triggers no shortcut of the box either.
        if (isOnBox(watched) && isTypedAhead(static_cast<QKeyEvent *>(event))) {
            event->accept();
            return true;
        }
        return false;
    case QEvent::KeyPress:
        return isOnBox(watched) && takeKeyPress(static_cast<QKeyEvent *>(event));
    case QEvent::KeyRelease:
        return isOnBox(watched) && takeKeyRelease(static_cast<QKeyEvent *>(event));
    default:
        return false;
    }
}

void TypedAheadGuard::noteExposed()
{
    const qint64 now = KeyClock::instance().now();
    m_seenAt = now;
    m_quietUntil = now + kQuietMoment.count();
}

bool TypedAheadGuard::isOnBox(const QObject *object) const
{
    const auto *widget = qobject_cast<const QWidget *>(object);
    return widget && widget->window() == m_box;
}

bool TypedAheadGuard::isTypedAhead(const QKeyEvent *event) const
{
    if (!m_seenAt)
        return true;
    const qint64 now = KeyClock::instance().now();
    const qint64 pressedAt = now - KeyClock::instance().ageOf(event);
    return pressedAt < *m_seenAt || (mayAnswer(event) && now < m_quietUntil);
}

// True when the key press is refused.
bool TypedAheadGuard::takeKeyPress(const QKeyEvent *event)
{
    if (!isTypedAhead(event))
        return false;
    m_refusedKeys.insert(event->key());
    m_quietUntil = KeyClock::instance().now() + kQuietMoment.count();
    if (!event->isAutoRepeat()) {
        QApplication::beep();
        emit keyRefused();
    }
    return true;
}

bool TypedAheadGuard::takeKeyRelease(const QKeyEvent *event)
{
    return m_refusedKeys.remove(event->key());
}
