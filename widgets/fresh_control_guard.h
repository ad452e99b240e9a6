#pragma once
// Keeps a double click from acting twice. A control that hides itself and shows another in
// its place ("Далее" giving way to the option buttons, the last option to the results)
// would receive the second click of a double click and act on it: answer statement 1
// unseen, or close the window. A box or dialog the window opens under the pointer would
// take it on its OK or on a cell of the sheet. A mouse click on a control of the window or
// of one of its dialogs that appeared less than the platform's double-click interval ago
// is therefore dropped. Keys are not delayed: an operator may key as fast as they like.

#include <QElapsedTimer>
#include <QHash>
#include <QObject>

class QWidget;

class FreshControlGuard : public QObject
{
    Q_OBJECT

public:
    explicit FreshControlGuard(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void noteShown(const QWidget *widget);
    bool isFresh(const QWidget *widget) const;
    bool isGuarded(const QObject *object) const;
    bool isDialogOfWindow(const QWidget *window) const;

    QWidget *m_window;
    QElapsedTimer m_clock;
    // When each guarded control was last shown, in m_clock's milliseconds; only
    // controls shown within the last interval are kept.
    QHash<const QWidget *, qint64> m_shownAt;
};
