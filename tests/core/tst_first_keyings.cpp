// Finding the first keying of a sheet in the results table: the newest sheet of the surname
// that no later row verifies, whatever the case and blanks of the surname.

#include "results/first_keyings.h"
#include "results/results_table.h"

#include <QTest>

using namespace zorven;

namespace {

// A row as the window writes it, at minute `minute`, with the given report and column 43.
QByteArray row(int minute, const QString &surname, int age, const QString &report,
               const QString &verification = {})
{
    ResultsRow row;
    row.scoredAt = QDateTime(QDate(2026, 12, 8), QTime(9, minute));
    row.surname = surname;
    row.sexText = QStringLiteral("Женский");
    row.age = age;
    for (int q = 1; q <= kStatementCount; ++q)
        row.options.set(q, q % 3 + 1);
    row.reportFileName = report;
    row.verification = verification;
    return resultsTableRow(row);
}

} // namespace

class TestFirstKeyings : public QObject
{
    Q_OBJECT

private slots:
    void newestUnverifiedFirst_data();
    void newestUnverifiedFirst();
    void surnameComesBackAsTyped();
};

void TestFirstKeyings::newestUnverifiedFirst_data()
{
    QTest::addColumn<QByteArray>("rows");
    QTest::addColumn<QList<int>>("ages"); // of the sheets found, in order

    const QString a = QStringLiteral("Смирнова О.И..txt");
    const QString b = QStringLiteral("Смирнова О.И. (2).txt");
    const QString name = QStringLiteral("Смирнова О.И.");
    QTest::newRow("none") << QByteArray() << QList<int>{};
    QTest::newRow("two namesakes, newest first")
        << row(1, name, 31, a) + row(2, QStringLiteral("СМИРНОВА  о.и."), 45, b) << QList<int>{45, 31};
    QTest::newRow("another surname passed over")
        << row(1, name, 31, a) + row(2, QStringLiteral("Смирнов О.И."), 45, b) << QList<int>{31};
    QTest::newRow("a verified sheet passed over")
        << row(1, name, 31, a) + row(2, name, 45, b) + row(3, name, 31, a, kVerified) << QList<int>{45};
    QTest::newRow("re-scored: the newer row stands for the sheet")
        << row(1, name, 31, a) + row(2, name, 32, a) << QList<int>{32};
    QTest::newRow("verification without a report verifies the latest")
        << row(1, name, 31, a) + row(2, name, 45, b) + row(3, name, 45, {}, kVerified)
        << QList<int>{31};
}

void TestFirstKeyings::newestUnverifiedFirst()
{
    QFETCH(QByteArray, rows);
    QFETCH(QList<int>, ages);
    const QString table = QString::fromUtf8(resultsTableHeader() + rows);
    QList<int> found;
    for (const TableSheet &sheet : unverifiedSheets(table, QStringLiteral(" смирнова о.и.")))
        found << sheet.age;
    QCOMPARE(found, ages);
}

// The table marks a surname a spreadsheet would take for a formula; the sheet found has it
// as typed, so that the verification's row is not marked twice.
void TestFirstKeyings::surnameComesBackAsTyped()
{
    const QString surname = QStringLiteral("-Ли А.");
    const QString table = QString::fromUtf8(resultsTableHeader() + row(1, surname, 31, surname + ".txt"));
    const QList<TableSheet> sheets = unverifiedSheets(table, surname);
    QCOMPARE(sheets.size(), 1);
    QCOMPARE(sheets[0].surname, surname);
    QCOMPARE(sheets[0].reportFileName, surname + QStringLiteral(".txt"));
}

QTEST_GUILESS_MAIN(TestFirstKeyings)

#include "tst_first_keyings.moc"
