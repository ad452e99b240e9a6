// The statement and option texts: sizes in code page 1251, single lines, and the
// reasoning problems' letters against the answer key.

#include "questionnaire/answer_key.h"
#include "questionnaire/statements.h"

#include <QSet>
#include <QStringEncoder>
#include <QTest>

#include <algorithm>
#include <array>

using namespace zorven;

namespace {

// Code-page length of `text`, or -1 when some character does not exist in code page 1251.
qsizetype cp1251Length(const QString &text)
{
    QStringEncoder encoder("windows-1251");
    if (!encoder.isValid())
        return -1;
    const QByteArray bytes = encoder.encode(text);
    return encoder.hasError() ? -1 : bytes.size();
}

bool isSingleLine(const QString &text)
{
    return std::none_of(text.begin(), text.end(), [](QChar c) {
        return c.category() == QChar::Other_Control || c == QChar::LineSeparator
            || c == QChar::ParagraphSeparator;
    });
}

constexpr std::array kReasoningProblems = {28, 53, 54, 77, 78, 102, 103, 127, 128, 152, 153, 177, 178};

} // namespace

class TestStatements : public QObject
{
    Q_OBJECT

private slots:
    void encoderExists()
    {
        QVERIFY(QStringEncoder("windows-1251").isValid());
        QCOMPARE(cp1251Length(QStringLiteral("Ёж — «№ 5»…")), 11);
        QCOMPARE(cp1251Length(QStringLiteral("日本")), -1); // an unrepresentable text is caught
    }

    void statementsFitAndDiffer()
    {
        QSet<QString> seen;
        for (int q = 1; q <= kStatementCount; ++q) {
            const QString text = statementText(q);
            const auto length = cp1251Length(text);
            QVERIFY2(length >= 11 && length <= kStatementCapacity - 1, qPrintable(text));
            QVERIFY2(isSingleLine(text), qPrintable(text));
            seen.insert(text);
        }
        QCOMPARE(seen.size(), kStatementCount);
    }

    void optionsFitAndDifferWithinStatement()
    {
        QCOMPARE(kOptionCount, 561);
        for (int q = 1; q <= kStatementCount; ++q) {
            QSet<QString> own;
            for (int a = 1; a <= 3; ++a) {
                const QString text = optionText(3 * (q - 1) + a);
                const auto length = cp1251Length(text);
                QVERIFY2(length >= 2 && length <= kOptionCapacity - 1, qPrintable(text));
                QVERIFY2(isSingleLine(text), qPrintable(text));
                own.insert(text);
            }
            QVERIFY2(own.size() == 3, qPrintable(statementText(q)));
        }
    }

    void solutionsAgreeWithKey()
    {
        for (int q = 1; q <= kStatementCount; ++q) {
            const char letter = reasoningSolution(q);
            const bool problem = std::find(kReasoningProblems.begin(), kReasoningProblems.end(), q)
                != kReasoningProblems.end();
            QVERIFY2(problem == (letter != 0), qPrintable(QString::number(q)));
            if (!problem)
                continue;
            QVERIFY(letter >= 'a' && letter <= 'c');
            for (int a = 1; a <= 3; ++a)
                QVERIFY2(answerCode(q, a) == (a == letter - 'a' + 1 ? 1 : 0),
                         qPrintable(QStringLiteral("statement %1, option %2").arg(q).arg(a)));
        }
    }
};

QTEST_APPLESS_MAIN(TestStatements)
#include "tst_statements.moc"
