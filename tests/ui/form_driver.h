#pragma once
// Drives the main window as an operator does: controls found by their names, text typed
// key by key, the sex chosen and the age typed with the keyboard.

#include "app/age_field.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QStyleHints>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

namespace form_driver {

// The window drops a click on a control that appeared less than a double-click interval
// ago. Tests click at once after a stage changes, unless a test is about that interval.
inline void clickWithoutDoubleClickGuard()
{
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(0);
}

template<typename T = QWidget>
T *child(const QWidget *window, const char *name)
{
    T *widget = window->findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

// One key per character, as a keyboard with a Russian layout types it; QTest::keyClicks
// takes Latin-1 only.
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// With the list closed: Down and Up step between the prompt and the items.
inline void chooseSex(const QWidget *window, int index)
{
    auto *sex = child<QComboBox>(window, "ComboBox1");
    sex->setFocus();
    while (sex->currentIndex() < index)
        QTest::keyClick(sex, Qt::Key_Down);
    while (sex->currentIndex() > index)
        QTest::keyClick(sex, Qt::Key_Up);
}

// Replaces the age field's text by `text`, typed.
inline void typeAge(const QWidget *window, const QString &text)
{
    auto *age = child<AgeField>(window, "SpinEdit1");
    age->setFocus();
    age->findChild<QLineEdit *>()->selectAll();
    QTest::keyClick(age, Qt::Key_Delete);
    typeText(age, text);
}

} // namespace form_driver
