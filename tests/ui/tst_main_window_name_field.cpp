// The name field of the main window: its changed-by-the-operator flag, and that it takes
// only what the report's code page can hold.

#include "widgets/name_field.h"
#include "ui/form_driver.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <optional>

using form_driver::typeText;

class TestMainWindowNameField : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void changedFlagIsSetByTypingAndNeverCleared();
    void typedCharacters_data();
    void typedCharacters();
    void pastedTextKeepsOnlyReportCharacters_data();
    void pastedTextKeepsOnlyReportCharacters();

private:
    std::optional<form_driver::FormFixture> m_form;
    NameField *m_field = nullptr;
};

void TestMainWindowNameField::init()
{
    m_form.emplace();
    QVERIFY(m_form->isReady());
    m_field = m_form->child<NameField>("LEdit");
    m_field->setFocus();
}

void TestMainWindowNameField::cleanup()
{
    m_form.reset();
}

void TestMainWindowNameField::changedFlagIsSetByTypingAndNeverCleared()
{
    m_field->setText(QStringLiteral("set by the program"));
    QVERIFY(!m_field->isChangedByUser());
    m_field->clear();
    QTest::keyClick(m_field, Qt::Key_A);
    QVERIFY(m_field->isChangedByUser());
    QTest::keyClick(m_field, Qt::Key_Backspace);
    m_field->setText(QString());
    QVERIFY(m_field->isChangedByUser());
}

void TestMainWindowNameField::typedCharacters_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("refused");
    for (const char *fits : {"Ёлкина Ю.Я.", "O'Neil-Smith, J.", "№ «Ў» €", "Їжак Ґ.І."})
        QTest::newRow(fits) << QString::fromUtf8(fits) << QString::fromUtf8(fits) << 0;
    QTest::newRow("German umlaut") << QString::fromUtf8("Müller") << QStringLiteral("Mller") << 1;
    QTest::newRow("Greek and CJK") << QString::fromUtf8("Aλ漢B") << QStringLiteral("AB") << 2;
}

void TestMainWindowNameField::typedCharacters()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, refused);
    QSignalSpy refusals(m_field, &NameField::inputRefused);
    typeText(m_field, typed);
    QCOMPARE(m_field->text(), shown);
    QCOMPARE(refusals.count(), refused);
}

void TestMainWindowNameField::pastedTextKeepsOnlyReportCharacters_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<bool>("beeps");
    const auto row = [](const char *name, const char *pasted, const char *kept, bool beeps) {
        QTest::newRow(name) << QString::fromUtf8(pasted) << QString::fromUtf8(kept) << beeps;
    };
    row("all fits", "Иванов И.И.", "Иванов И.И.", false);
    row("umlaut and emoji", "Мüller 😀И.", "Мller И.", true);
    row("line breaks are blanks", "Иванов\nИ.И.\r\nПетров\r", "Иванов И.И. Петров ", false);
    row("tab is a blank", "Иванов\tИ.", "Иванов И.", false);
    row("other control characters", "Ива\x01нов\x7F", "Иванов", true);
    row("nothing fits", "漢字", "", true);
}

void TestMainWindowNameField::pastedTextKeepsOnlyReportCharacters()
{
    QFETCH(QString, pasted);
    QFETCH(QString, kept);
    QFETCH(bool, beeps);
    QSignalSpy refusals(m_field, &NameField::inputRefused);
    QGuiApplication::clipboard()->setText(pasted);
    QTest::keyClick(m_field, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(m_field->text(), kept);
    QCOMPARE(m_field->cursorPosition(), kept.size());
    QCOMPARE(refusals.count(), beeps ? 1 : 0);

    // What was kept can be typed around: the cursor stands after it.
    QTest::keyClick(m_field, Qt::Key_Z);
    QCOMPARE(m_field->text(), kept + u'z');
}

QTEST_MAIN(TestMainWindowNameField)
#include "tst_main_window_name_field.moc"
