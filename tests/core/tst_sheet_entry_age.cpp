// How an age text is read and the age limits of each sex.

#include "questionnaire/respondent.h"

#include <QTest>

#include <limits>

class TestSheetEntryAge : public QObject
{
    Q_OBJECT

private slots:
    void ageFromDigits_data();
    void ageFromDigits();
    void maximumAgeFor_data();
    void maximumAgeFor();
};

void TestSheetEntryAge::ageFromDigits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<int>>("number");
    const std::optional<int> none;
    QTest::newRow("plain") << "42" << std::optional<int>(42);
    QTest::newRow("leading zero") << "016" << std::optional<int>(16);
    QTest::newRow("plus sign") << "+58" << none;
    QTest::newRow("minus sign") << "-3" << none;
    QTest::newRow("empty") << "" << none;
    QTest::newRow("decimal point") << "5.5" << none;
    QTest::newRow("decimal comma") << "5,5" << none;
    QTest::newRow("group separator") << "1,000" << none;
    QTest::newRow("blank before") << " 5" << none;
    QTest::newRow("blank after") << "5 " << none;
    QTest::newRow("too large for a number: above every maximum")
        << "99999999999" << std::optional<int>(std::numeric_limits<int>::max());
    QTest::newRow("non-ASCII digits") << QString::fromUtf8("\u0664\u0662") << none;
}

void TestSheetEntryAge::ageFromDigits()
{
    QFETCH(QString, text);
    QFETCH(std::optional<int>, number);
    QCOMPARE(zorven::ageFromDigits(text), number);
}

void TestSheetEntryAge::maximumAgeFor_data()
{
    QTest::addColumn<zorven::Sex>("sex");
    QTest::addColumn<std::optional<int>>("maximum");
    QTest::newRow("male") << zorven::Sex::Male << std::optional<int>(60);
    QTest::newRow("female") << zorven::Sex::Female << std::optional<int>(55);
    QTest::newRow("none chosen") << zorven::Sex::None << std::optional<int>();
}

void TestSheetEntryAge::maximumAgeFor()
{
    QFETCH(zorven::Sex, sex);
    QFETCH(std::optional<int>, maximum);
    QCOMPARE(zorven::maximumAgeFor(sex), maximum);
}

QTEST_APPLESS_MAIN(TestSheetEntryAge)
#include "tst_sheet_entry_age.moc"
