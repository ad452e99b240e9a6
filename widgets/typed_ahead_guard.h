#pragma once
// Keeps keys typed ahead from answering a box. An operator keying from paper at speed does
// not see a box open at once: the keys meant for the next statements are already on their
// way, and the first of them would answer the question unseen (at 150 ms a key, the key for
// statement 6 answered the box about statement 5). A box with this guard takes a key only
// when the operator could have seen the box before pressing it:
// - a key pressed before the box was on the screen is dropped, however late the window
//   system delivers it;
// - a key that answers (a digit, Enter, Space) in the first moment after the
//   box appears is dropped with a beep, and each key dropped starts that moment again, so a
//   run typed blind never answers the box, however long it goes on. Enter counts as much
//   as a digit: a box may open sooner than the next key comes, and Enter presses its
//   default button.
// Nothing else is held back: a key pressed after a pause goes through at once.

#include <QElapsedTimer>
#include <QObject>
#include <QSet>

#include <chrono>
#include <optional>

class QKeyEvent;
class QWidget;

class TypedAheadGuard : public QObject
{
    Q_OBJECT

public:
    // Keys typed blind come 0.1 to 0.2 s apart, so a run of them keeps within this moment;
    // an operator who sees a box appear needs longer than this to react and choose among
    // three answers (a choice reaction takes 0.4 s and more), so an answer is seldom
    // refused, and then only costs a beep and a second press.
    static constexpr std::chrono::milliseconds kQuietMoment{400};

    // Guards `box`, and lives as long as it does.
    explicit TypedAheadGuard(QWidget *box);

    // Starts reading the window system's key times against the program's clock (see the
    // source). Call it at start-up, so that it knows the clocks before any box opens; a
    // guard calls it too.
    static void watchKeyTimes();

    // True when a digit pressed now answers the box.
    bool isListening() const;

    // The box now asks something new in place of what it asked (the next question in the
    // same box): a key pressed before this moment is typed ahead again, and keys wait for
    // the quiet moment as when the box appeared.
    void startAgain();

signals:
    // A key was refused; the guard beeps beside it.
    void keyRefused();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isOnBox(const QObject *object) const;
    bool isTypedAhead(const QKeyEvent *event) const;
    bool takeKeyPress(const QKeyEvent *event);
    bool takeKeyRelease(const QKeyEvent *event);
    void noteExposed();

    QWidget *m_box;
    // When the box came on the screen, and until when keys are refused, in the input
    // clock's milliseconds.
    std::optional<qint64> m_seenAt;
    qint64 m_quietUntil = 0;
    // Keys whose press was refused: their release is refused too.
    QSet<int> m_refusedKeys;
};
