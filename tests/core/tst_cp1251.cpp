// The code page table the name field and the data checks rely on, held against the
// encoder that writes the report.

#include "questionnaire/cp1251.h"

#include <QStringEncoder>
#include <QTest>

class TestCp1251 : public QObject
{
    Q_OBJECT

private slots:
    void lineCharactersAreExactlyWhatTheEncoderHolds();
    void lengthCountsCharactersNotBytes();
};

// Every character of the Basic Multilingual Plane but the control characters, which the
// encoder passes through and a line of the report must not hold.
void TestCp1251::lineCharactersAreExactlyWhatTheEncoderHolds()
{
    QVERIFY(QStringEncoder("windows-1251").isValid());
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        if (QChar::isSurrogate(c))
            continue;
        if (QChar::category(c) == QChar::Other_Control) {
            QVERIFY(!zorven::cp1251::isLineCharacter(c));
            continue;
        }
        // A fresh encoder each time: one that has met an error keeps reporting it.
        QStringEncoder encoder("windows-1251");
        const QByteArray bytes = encoder.encode(QString(QChar(char16_t(c))));
        const bool encodes = !encoder.hasError() && bytes.size() == 1;
        if (zorven::cp1251::isLineCharacter(c) != encodes)
            QFAIL(qPrintable(QStringLiteral("U+%1").arg(uint(c), 4, 16, QChar(u'0'))));
    }
}

void TestCp1251::lengthCountsCharactersNotBytes()
{
    QCOMPARE(zorven::cp1251::length("Форма А"), std::size_t(7));
    QVERIFY(zorven::cp1251::isSingleLineText("№ 5 — «да»"));
    QVERIFY(!zorven::cp1251::isSingleLineText("да\nнет"));
    QVERIFY(!zorven::cp1251::isSingleLineText("\xD0")); // a cut UTF-8 sequence
}

QTEST_APPLESS_MAIN(TestCp1251)
#include "tst_cp1251.moc"
