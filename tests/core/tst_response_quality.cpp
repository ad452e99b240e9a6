// The signs of how a sheet was answered, on known sheets: the facts as the profile shows
// them, and a flag only beyond each threshold.

#include "results/response_quality.h"

#include <QTest>

namespace {

// `pattern` repeated over the 187 statements: "abc" is a, b, c by turns from statement 1.
zorven::KeyedOptions optionsOf(const QByteArray &pattern)
{
    zorven::KeyedOptions options;
    for (int q = 1; q <= zorven::kStatementCount; ++q)
        options.set(q, pattern[(q - 1) % pattern.size()] - 'a' + 1);
    return options;
}

zorven::AnswerTimes timesOf(qint64 milliseconds)
{
    zorven::AnswerTimes times;
    times.fill(milliseconds);
    return times;
}

QStringList texts(const QList<zorven::QualitySign> &signs)
{
    QStringList lines;
    for (const zorven::QualitySign &sign : signs)
        lines << sign.text + (sign.flagged ? QStringLiteral(" [!]") : QString());
    return lines;
}

} // namespace

class TestResponseQuality : public QObject
{
    Q_OBJECT

private slots:
    void signsOfAKeyedSheet_data();
    void signsOfAKeyedSheet();
    void answersFasterThanReading_data();
    void answersFasterThanReading();
    void readingTimeGrowsWithTheStatement();
};

void TestResponseQuality::signsOfAKeyedSheet_data()
{
    QTest::addColumn<QByteArray>("pattern");
    QTest::addColumn<QStringList>("signs");
    QTest::newRow("by turns") << QByteArray("abc")
                              << QStringList{"средних ответов: 62 из 186",
                                             "самая длинная серия одинаковых ответов: 1"};
    // Eleven a, then a b: runs of 11 stay unflagged.
    QTest::newRow("runs of eleven") << QByteArray("aaaaaaaaaaab")
                                    << QStringList{"средних ответов: 15 из 186",
                                                   "самая длинная серия одинаковых ответов: 11 (a, утверждения 1–11)"};
    QTest::newRow("runs of twelve") << QByteArray("aaaaaaaaaaaab")
                                    << QStringList{"средних ответов: 14 из 186",
                                                   "самая длинная серия одинаковых ответов: 12 (a, утверждения 1–12) — 12 и более подряд [!]"};
    QTest::newRow("half b") << QByteArray("ab")
                            << QStringList{"средних ответов: 93 из 186",
                                           "самая длинная серия одинаковых ответов: 1"};
    QTest::newRow("all b") << QByteArray("b")
                           << QStringList{"средних ответов: 186 из 186 — больше половины [!]",
                                          "самая длинная серия одинаковых ответов: 186 (b, утверждения 1–186) — 12 и более подряд [!]"};
}

void TestResponseQuality::signsOfAKeyedSheet()
{
    QFETCH(QByteArray, pattern);
    QFETCH(QStringList, signs);
    QCOMPARE(texts(zorven::qualitySigns(zorven::responseQualityOf(optionsOf(pattern)))), signs);
}

void TestResponseQuality::answersFasterThanReading_data()
{
    QTest::addColumn<qint64>("milliseconds");
    QTest::addColumn<QString>("sign");
    QTest::newRow("a minute each") << qint64(60'000)
                                   << QStringLiteral("ответов быстрее, чем можно прочесть утверждение: 0 из 186");
    QTest::newRow("half a second each")
        << qint64(500) << QStringLiteral("ответов быстрее, чем можно прочесть утверждение: 186 из 186 — больше десятой части [!]");
}

void TestResponseQuality::answersFasterThanReading()
{
    QFETCH(qint64, milliseconds);
    QFETCH(QString, sign);
    const QStringList signs =
        texts(zorven::qualitySigns(zorven::responseQualityOf(optionsOf("abc"), timesOf(milliseconds))));
    QCOMPARE(signs.size(), 3);
    QCOMPARE(signs.last(), sign);
}

// Statement 187 has ten words, statement 2 seventeen and a dash; the shortest take 1 s.
void TestResponseQuality::readingTimeGrowsWithTheStatement()
{
    QCOMPARE(zorven::readingMilliseconds(187), 2000);
    QCOMPARE(zorven::readingMilliseconds(2), 3400);
    zorven::AnswerTimes times = timesOf(60'000);
    times[1] = 3399;  // statement 2, just under its reading time
    times[186] = 0;   // statement 187 is not counted
    const zorven::ResponseQuality quality = zorven::responseQualityOf(optionsOf("abc"), times);
    QCOMPARE(quality.fastAnswers, 1);
    QCOMPARE(quality.timedAnswers, 186);
}

QTEST_GUILESS_MAIN(TestResponseQuality)
#include "tst_response_quality.moc"
