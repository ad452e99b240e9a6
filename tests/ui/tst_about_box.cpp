// The about box: its texts and look, the link, and that it never blocks the keying.

#include "app/program_identity.h"
#include "questionnaire/answer_key.h"
#include "ui/form_driver.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include <optional>

// Stands in for the system's browser.
class BrowserStandIn : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl &url) { opened << url; }
};

class TestAboutBox : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void showsTheProgramsTexts();
    void linkOpensMakersPageAndTurnsPurple();
    void linkIsReachedAndReadAsALink();
    void menuShowsBoxWithoutBlockingKeying();
    void closedBoxCanBeShownAgain();

private:
    QLabel *label(const char *name) const
    {
        return m_window->findChild<QLabel *>(QLatin1String(name));
    }

    std::optional<form_driver::FormFixture> m_form;
    TForm1 *m_window = nullptr;
    TAboutBox *m_box = nullptr;
    BrowserStandIn m_browser;
};

void TestAboutBox::init()
{
    m_form.emplace();
    QVERIFY(m_form->isReady());
    m_window = &m_form->window();
    m_box = &m_form->aboutBox();
    m_browser.opened.clear();
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &m_browser, "open");
}

void TestAboutBox::cleanup()
{
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    m_form.reset();
}

void TestAboutBox::showsTheProgramsTexts()
{
    QVERIFY(!m_box->isVisible());
    QCOMPARE(m_box->windowTitle(), QStringLiteral("О программе"));
    QCOMPARE(m_box->size(), QSize(257, 156));
    QCOMPARE(label("ProductName")->text(), identity::kMakerName);
    QCOMPARE(label("TestName")->text(), QStringLiteral("Тест Зорвена. Форма A"));
    QCOMPARE(label("Version")->text(), QStringLiteral("Версия для обработки бланков"));
    QVERIFY2(label("Version")->geometry().right() <= 256 - 8, "the line keeps clear of the edge");
    QCOMPARE(label("ProgramVersion")->text(), QStringLiteral("версия ") + identity::kVersion);
    QCOMPARE(label("RzURLLabel1")->text(), QStringLiteral("Перейти на сайт"));
    QCOMPARE(label("ProgramIcon")->pixmap().size(), QSize(45, 140));
    QVERIFY(!m_box->windowIcon().isNull());
}

void TestAboutBox::linkOpensMakersPageAndTurnsPurple()
{
    m_box->showCentred();
    QVERIFY(QTest::qWaitForWindowExposed(m_box));
    QLabel *link = m_box->findChild<QLabel *>(QStringLiteral("RzURLLabel1"));
    QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(m_browser.opened, QList<QUrl>{QUrl(identity::kMakerWebAddress)});
    QCOMPARE(link->palette().color(QPalette::WindowText), QColor(128, 0, 128));
}

// The box gives its one control, the link, the focus; Enter opens it, and a screen reader
// is told it is a link it can press.
void TestAboutBox::linkIsReachedAndReadAsALink()
{
    m_box->showCentred();
    QVERIFY(QTest::qWaitForWindowActive(m_box));
    QLabel *link = m_box->findChild<QLabel *>(QStringLiteral("RzURLLabel1"));
    QTRY_VERIFY(link->hasFocus());
    QTest::keyClick(link, Qt::Key_Return);
    QCOMPARE(m_browser.opened, QList<QUrl>{QUrl(identity::kMakerWebAddress)});

    QAccessibleInterface *readOut = QAccessible::queryAccessibleInterface(link);
    QCOMPARE(readOut->role(), QAccessible::Link);
    QCOMPARE(readOut->text(QAccessible::Name), QStringLiteral("Перейти на сайт"));
    readOut->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(m_browser.opened.size(), 2);
}

void TestAboutBox::menuShowsBoxWithoutBlockingKeying()
{
    QTest::keyClicks(m_window->findChild<QLineEdit *>(QStringLiteral("LEdit")), "Ivanov");
    auto *sex = m_window->findChild<QComboBox *>(QStringLiteral("ComboBox1"));
    QTest::keyClick(sex, Qt::Key_Down);
    auto *next = m_window->findChild<QPushButton *>(QStringLiteral("Button4"));
    QTest::mouseClick(next, Qt::LeftButton);

    QAction *about = m_window->findChild<QAction *>(QStringLiteral("N2"));
    QCOMPARE(about->text().remove(u'&'), QStringLiteral("О программе"));
    about->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(m_box));
    QVERIFY(!m_box->isModal());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    const QPoint shownAt = m_box->pos();

    auto *optionB = m_window->findChild<QPushButton *>(QStringLiteral("Button2"));
    QTest::mouseClick(optionB, Qt::LeftButton);
    QCOMPARE(m_window->sheet().answers.at(1), zorven::answerCode(1, 2));

    m_box->move(shownAt + QPoint(30, 20));
    about->trigger();
    QVERIFY(m_box->isVisible());
    QCOMPARE(m_box->pos(), shownAt + QPoint(30, 20));
}

void TestAboutBox::closedBoxCanBeShownAgain()
{
    QAction *about = m_window->findChild<QAction *>(QStringLiteral("N2"));
    about->trigger();
    QVERIFY(m_box->isVisible());
    m_box->close();
    QVERIFY(!m_box->isVisible());
    QVERIFY(m_window->isVisible());
    about->trigger();
    QVERIFY(m_box->isVisible());
}

QTEST_MAIN(TestAboutBox)
#include "tst_about_box.moc"
