#pragma once
// Drives the main window as an operator does: controls found by their names, text typed
// key by key, the sex chosen and the age typed with the keyboard. FormFixture gives each
// test a fresh window in a fresh working folder.

#include "app/Unit1.h"
#include "widgets/age_field.h"
#include "app/zorven.h"
#include "widgets/program_style.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleHints>
#include <QTemporaryDir>
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
inline void chooseSex(const QWidget *window, zorven::Sex sex)
{
    auto *list = child<QComboBox>(window, "ComboBox1");
    const int index = list->findText(sex == zorven::Sex::Male ? QStringLiteral("Мужской")
                                                              : QStringLiteral("Женский"));
    list->setFocus();
    while (list->currentIndex() < index)
        QTest::keyClick(list, Qt::Key_Down);
    while (list->currentIndex() > index)
        QTest::keyClick(list, Qt::Key_Up);
    QCOMPARE(list->currentIndex(), index);
}

// Replaces the age field's text by `text`, typed.
inline void typeAge(const QWidget *window, const QString &text)
{
    auto *age = child<AgeField>(window, "SpinEdit1");
    age->setFocus();
    age->findChild<QLineEdit *>()->selectAll();
    QTest::keyClick(age, Qt::Key_Delete);
    typeText(age, text);
    QCOMPARE(age->text(), text);
}

// The option button for choice 1, 2 or 3.
inline QPushButton *optionButton(const QWidget *window, int choice)
{
    const char *names[] = {"Button1", "Button2", "Button3"};
    return child<QPushButton>(window, names[choice - 1]);
}

// The number of the statement on show, from the statement group's caption.
inline int statementOnShow(const QWidget *window)
{
    const QString caption = child<QGroupBox>(window, "Box2")->title();
    const QString prefix = QStringLiteral("Утверждение № ");
    if (!caption.startsWith(prefix))
        qFatal("unexpected statement caption");
    return caption.sliced(prefix.size()).toInt();
}

// The main window with its about box, shown and active, working in an empty folder of
// its own. When it goes, the window goes first, then the earlier working folder comes
// back and the folder is removed with whatever the window left in it.
class FormFixture
{
public:
    FormFixture()
    {
        clickWithoutDoubleClickGuard();
        m_window.setAboutBox(m_aboutBox);
        m_window.show();
        m_active = QTest::qWaitForWindowActive(&m_window);
    }

    ~FormFixture() { QDir::setCurrent(m_previousFolder); }

    FormFixture(const FormFixture &) = delete;
    FormFixture &operator=(const FormFixture &) = delete;

    // False when the folder could not be made or entered, or the window did not show.
    bool isReady() const { return m_inFolder && m_active; }

    TForm1 &window() { return m_window; }
    TAboutBox &aboutBox() { return *m_aboutBox; }

    template<typename T = QWidget>
    T *child(const char *name) const
    {
        return form_driver::child<T>(&m_window, name);
    }

private:
    QTemporaryDir m_folder;
    QString m_previousFolder = QDir::currentPath();
    bool m_inFolder = m_folder.isValid() && QDir::setCurrent(m_folder.path());
    TForm1 m_window;
    TAboutBox *m_aboutBox = new TAboutBox(&m_window); // owned by the window
    bool m_active = false;
};

// Runs a window test as on a Russian desk, in the style the program chooses at start
// whatever the desktop forces. The locale is chosen before the application exists: Qt
// reads the system locale from the environment once, at start.
template<typename Test>
int execInRussianLocale(int argc, char *argv[])
{
    qputenv("LC_ALL", "ru_RU.UTF-8");
    QApplication application(argc, argv);
    look::useProgramStyle();
    QApplication::setAttribute(Qt::AA_Use96Dpi, true);
    Test test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace form_driver
