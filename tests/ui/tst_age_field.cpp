// The age field on its own: what it takes, how it steps, reads and pulls a number into range.

#include "widgets/age_field.h"
#include "ui/form_driver.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <limits>
#include <optional>

using form_driver::typeText;

class TestAgeField : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void typedCharacters_data();
    void typedCharacters();
    void enterIsRefused();
    void decimalSeparatorOfAnyLocaleIsRefused();
    void pastedNonDigitsAreRefusedWithABeep();
    void leavingTheFieldPullsNumberIntoRange_data();
    void leavingTheFieldPullsNumberIntoRange();
    void readValue_data();
    void readValue();
    void stepping_data();
    void stepping();
    void changingMaximumKeepsValueShown();

private:
    void setText(const QString &text);
    QLineEdit *edit() const { return m_field->findChild<QLineEdit *>(); }

    std::optional<QWidget> m_window;
    AgeField *m_field = nullptr;
    QLineEdit *m_neighbour = nullptr;
};

void TestAgeField::init()
{
    m_window.emplace();
    auto *layout = new QVBoxLayout(&*m_window);
    m_field = new AgeField;
    m_field->setLocale(QLocale::c());
    m_field->setMinimum(16);
    m_field->setMaximum(60);
    m_field->setValue(16);
    m_neighbour = new QLineEdit;
    layout->addWidget(m_field);
    layout->addWidget(m_neighbour);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(&*m_window));
    m_field->setFocus();
    QVERIFY(m_field->hasFocus());
}

void TestAgeField::cleanup()
{
    m_window.reset();
}

void TestAgeField::setText(const QString &text)
{
    edit()->selectAll();
    QTest::keyClick(m_field, Qt::Key_Delete);
    QTest::keyClicks(m_field, text);
    QCOMPARE(m_field->text(), text);
}

void TestAgeField::typedCharacters_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("refused");
    QTest::newRow("digits") << "42" << "42" << 0;
    QTest::newRow("signs and point") << "+-5.5" << "55" << 3;
    QTest::newRow("letters among digits") << "4a2b" << "42" << 2;
    QTest::newRow("blank") << "4 2" << "42" << 1;
    QTest::newRow("comma") << "5,5" << "55" << 1;
    QTest::newRow("Cyrillic") << QString::fromUtf8("5лет") << "5" << 3;
}

void TestAgeField::typedCharacters()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, refused);
    edit()->selectAll();
    QTest::keyClick(m_field, Qt::Key_Backspace);
    QCOMPARE(m_field->text(), QString());
    QSignalSpy refusals(m_field, &AgeField::inputRefused);
    typeText(m_field, typed);
    QCOMPARE(m_field->text(), shown);
    QCOMPARE(refusals.count(), refused);
}

void TestAgeField::enterIsRefused()
{
    setText("70");
    QSignalSpy refusals(m_field, &AgeField::inputRefused);
    QSignalSpy finished(m_field, &AgeField::editingFinished);
    QTest::keyClick(m_field, Qt::Key_Return);
    QTest::keyClick(m_field, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(refusals.count(), 2);
    QCOMPARE(finished.count(), 0);
    QCOMPARE(m_field->text(), QStringLiteral("70"));
}

void TestAgeField::decimalSeparatorOfAnyLocaleIsRefused()
{
    m_field->setLocale(QLocale(QLocale::Russian, QLocale::Russia));
    setText("");
    QSignalSpy refusals(m_field, &AgeField::inputRefused);
    QTest::keyClicks(m_field, "5,5.");
    QCOMPARE(m_field->text(), QStringLiteral("55"));
    QCOMPARE(refusals.count(), 2);
}

// Pasting "75.5" must not leave 755, nor any other number the operator did not type.
void TestAgeField::pastedNonDigitsAreRefusedWithABeep()
{
    setText("42");
    QSignalSpy refusals(m_field, &AgeField::inputRefused);
    for (const QString &pasted : {QStringLiteral("abc"), QStringLiteral("-7"), QStringLiteral("75.5")}) {
        edit()->selectAll();
        edit()->insert(pasted);
        QCOMPARE(m_field->text(), QStringLiteral("42"));
    }
    QCOMPARE(refusals.count(), 3);
    edit()->selectAll();
    edit()->insert(QStringLiteral("75"));
    QCOMPARE(m_field->text(), QStringLiteral("75"));
}

void TestAgeField::leavingTheFieldPullsNumberIntoRange_data()
{
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("woman 58") << 55 << "58" << "55";
    QTest::newRow("man 58") << 60 << "58" << "58";
    QTest::newRow("man 70") << 60 << "70" << "60";
    QTest::newRow("man 12") << 60 << "12" << "16";
    QTest::newRow("woman 12") << 55 << "12" << "16";
    QTest::newRow("too large for a number") << 60 << "99999999999" << "60";
    QTest::newRow("leading zeros") << 60 << "0042" << "0042";
    QTest::newRow("empty") << 60 << "" << "";
}

void TestAgeField::leavingTheFieldPullsNumberIntoRange()
{
    QFETCH(int, maximum);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    m_field->setMaximum(maximum);
    setText(typed);
    m_neighbour->setFocus();
    QVERIFY(!m_field->hasFocus());
    QCOMPARE(m_field->text(), shown);
}

void TestAgeField::readValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("whole number") << "42" << 42;
    QTest::newRow("above the maximum, before leaving") << "70" << 70;
    QTest::newRow("empty") << "" << 16;
    QTest::newRow("too large for a number") << "99999999999" << std::numeric_limits<int>::max();
}

void TestAgeField::readValue()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    setText(text);
    QCOMPARE(m_field->value(), value);
}

void TestAgeField::stepping_data()
{
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("shown");
    QTest::newRow("up") << 60 << "30" << int(Qt::Key_Up) << "31";
    QTest::newRow("down") << 60 << "30" << int(Qt::Key_Down) << "29";
    QTest::newRow("up at the maximum") << 60 << "60" << int(Qt::Key_Up) << "60";
    QTest::newRow("down at the minimum") << 60 << "16" << int(Qt::Key_Down) << "16";
    QTest::newRow("up above the maximum") << 55 << "58" << int(Qt::Key_Up) << "55";
    QTest::newRow("down above the maximum") << 55 << "58" << int(Qt::Key_Down) << "55";
    QTest::newRow("down from too large for a number") << 60 << "99999999999" << int(Qt::Key_Down)
                                                      << "60";
    QTest::newRow("down from a non-number") << 60 << "" << int(Qt::Key_Down) << "16";
}

void TestAgeField::stepping()
{
    QFETCH(int, maximum);
    QFETCH(QString, text);
    QFETCH(int, key);
    QFETCH(QString, shown);
    m_field->setMaximum(maximum);
    setText(text);
    QTest::keyClick(m_field, Qt::Key(key));
    QCOMPARE(m_field->text(), shown);
}

void TestAgeField::changingMaximumKeepsValueShown()
{
    setText("58");
    m_field->setMaximum(55);
    QCOMPARE(m_field->text(), QStringLiteral("58"));
    QCOMPARE(m_field->value(), 58);
    QCOMPARE(m_field->maximum(), 55);
}

QTEST_MAIN(TestAgeField)
#include "tst_age_field.moc"
