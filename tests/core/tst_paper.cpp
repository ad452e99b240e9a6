// The paper a group testing needs, read back from its PDF as a printer or a reader would
// get it: the booklet holds every statement and option of the program's tables in order,
// none split across pages; the answer sheet's corner marks and boxes stand where its
// geometry says, within half a millimetre of a rendering at ten dots a millimetre.

#include "paper/answer_sheet.h"
#include "paper/answer_sheet_geometry.h"
#include "paper/booklet.h"
#include "paper/group_list.h"
#include "questionnaire/statements.h"
#include "poppler.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace {

namespace sheet = zorven::answer_sheet;

constexpr int kDotsPerMm = 10;
constexpr double kTolerance = 0.5;   // mm
constexpr int kInk = 128;            // darker than this is ink; the box letters are lighter

QString writtenPdf(const QTemporaryDir &dir, const QString &name, const zorven::PaperDocument &document)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(zorven::documentPdf(document)) < 0)
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

int pagesOf(const QString &info)
{
    const auto match = QRegularExpression(QStringLiteral("^Pages: +(\\d+)$"),
                                          QRegularExpression::MultilineOption).match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// The statement as the booklet prints it: number, text, and its options a), b), c).
QString printedStatement(int q)
{
    QString text = QString::number(q) + QLatin1Char('.') + zorven::statementText(q);
    for (int option = 1; option <= 3; ++option)
        text += QChar(u'a' + option - 1) + QStringLiteral(")")
                + zorven::optionText(3 * (q - 1) + option);
    return poppler::withoutBlanks(text);
}

bool isInk(const QImage &image, int x, int y)
{
    return qGray(image.pixel(x, y)) < kInk;
}

// Going out from the middle of a shape along a row or a column through `across` (mm):
// past the unmarked inside, then through the ink of its edge. Gives where that ink ends,
// in mm from the sheet's corner; nothing when no ink is met within `reach` mm.
std::optional<double> outerEdge(const QImage &image, bool alongRow, double across, double middle,
                                int step, double reach)
{
    const int fixed = int(across * kDotsPerMm);
    const auto inkAt = [&](int d) { return alongRow ? isInk(image, d, fixed) : isInk(image, fixed, d); };
    int d = int(middle * kDotsPerMm);
    const int last = d + step * int(reach * kDotsPerMm);
    while (d != last && !inkAt(d))
        d += step;
    if (d == last)
        return std::nullopt;
    while (inkAt(d + step))
        d += step;
    return (d + (step > 0 ? 1 : 0)) / double(kDotsPerMm);
}

// The outer edges of the inked outline or solid shape expected at `expected`.
QRectF measuredEdges(const QImage &image, const QRectF &expected)
{
    const QPointF middle = expected.center();
    const double reach = expected.width() / 2 + 1;
    const auto left = outerEdge(image, true, middle.y(), middle.x(), -1, reach);
    const auto right = outerEdge(image, true, middle.y(), middle.x(), +1, reach);
    const auto top = outerEdge(image, false, middle.x(), middle.y(), -1, reach);
    const auto bottom = outerEdge(image, false, middle.x(), middle.y(), +1, reach);
    if (!left || !right || !top || !bottom)
        return {};
    return QRectF(QPointF(*left, *top), QPointF(*right, *bottom));
}

bool near(const QRectF &measured, const QRectF &expected)
{
    return std::abs(measured.left() - expected.left()) <= kTolerance
           && std::abs(measured.right() - expected.right()) <= kTolerance
           && std::abs(measured.top() - expected.top()) <= kTolerance
           && std::abs(measured.bottom() - expected.bottom()) <= kTolerance;
}

QString describe(const QRectF &r)
{
    return QStringLiteral("%1,%2 to %3,%4 mm").arg(r.left()).arg(r.top()).arg(r.right()).arg(r.bottom());
}

// Whether every dot inside `mm`, `inset` mm in from its edges, is lighter than ink.
bool noInkWithin(const QImage &image, const QRectF &mm, double inset)
{
    const QRectF inner = mm.adjusted(inset, inset, -inset, -inset);
    for (int y = int(inner.top() * kDotsPerMm); y < int(inner.bottom() * kDotsPerMm); ++y)
        for (int x = int(inner.left() * kDotsPerMm); x < int(inner.right() * kDotsPerMm); ++x)
            if (isInk(image, x, y))
                return false;
    return true;
}

bool allInkWithin(const QImage &image, const QRectF &mm, double inset)
{
    const QRectF inner = mm.adjusted(inset, inset, -inset, -inset);
    for (int y = int(inner.top() * kDotsPerMm); y < int(inner.bottom() * kDotsPerMm); ++y)
        for (int x = int(inner.left() * kDotsPerMm); x < int(inner.right() * kDotsPerMm); ++x)
            if (!isInk(image, x, y))
                return false;
    return true;
}

} // namespace

class TestPaper : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void bothAreA4WithTheirFontsEmbedded_data();
    void bothAreA4WithTheirFontsEmbedded();
    void bookletHoldsEveryStatementWholeOnOnePageInOrder();
    void oneLetterWordsAreBoundToTheNext_data();
    void oneLetterWordsAreBoundToTheNext();
    void noBookletLineEndsInAOneLetterWord();
    void answerSheetHasTheFieldsAndEveryCellInOrder();
    void answerSheetMarksAndBoxesStandWhereTheGeometrySays();
    void groupListTakesRowsAsTheWindowTakesThem_data();
    void groupListTakesRowsAsTheWindowTakesThem();

private:
    QTemporaryDir m_dir;
    QString m_booklet;
    QString m_answerSheet;
    int m_bookletPages = 0;
};

void TestPaper::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const zorven::PaperDocument booklet = zorven::bookletDocument();
    m_bookletPages = booklet.pageCount;
    m_booklet = writtenPdf(m_dir, QStringLiteral("booklet.pdf"), booklet);
    m_answerSheet = writtenPdf(m_dir, QStringLiteral("answer sheet.pdf"), zorven::answerSheetDocument());
}

void TestPaper::bothAreA4WithTheirFontsEmbedded_data()
{
    QTest::addColumn<QString>("which");
    QTest::newRow("booklet") << QStringLiteral("booklet");
    QTest::newRow("answer sheet") << QStringLiteral("answer sheet");
}

void TestPaper::bothAreA4WithTheirFontsEmbedded()
{
    QFETCH(QString, which);
    const bool booklet = which == QStringLiteral("booklet");
    const QString pdf = booklet ? m_booklet : m_answerSheet;

    const QString info = poppler::output(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY2(info.contains(QStringLiteral("595 x 842 pts (A4)")), qPrintable(info));
    QCOMPARE(pagesOf(info), booklet ? m_bookletPages : 1);

    const QStringList fonts =
        poppler::output(QStringLiteral("pdffonts"), {pdf}).split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
    QVERIFY(!fonts.isEmpty());
    for (const QString &font : fonts)
        QVERIFY2(font.contains(QRegularExpression(QStringLiteral("\\byes\\s+(yes|no)\\s+yes\\b"))),
                 qPrintable(font));
}

// Every statement, number, text and options, found whole on one page, each after the one
// before it; the title page before them tells how to answer.
void TestPaper::bookletHoldsEveryStatementWholeOnOnePageInOrder()
{
    const QStringList pages = poppler::pagesWithoutBlanks(m_booklet);
    QVERIFY(pages.first().contains(poppler::withoutBlanks(QStringLiteral("Как отвечать"))));
    QVERIFY(!pages.first().contains(printedStatement(1)));

    int page = 1;
    qsizetype from = 0;
    for (int q = 1; q <= zorven::kStatementCount; ++q) {
        const QString statement = printedStatement(q);
        qsizetype at = pages[page].indexOf(statement, from);
        if (at < 0 && page + 1 < pages.size()) {
            ++page;
            at = pages[page].indexOf(statement);
        }
        QVERIFY2(at >= 0, qPrintable(QStringLiteral("statement %1 not whole after page %2: %3")
                                         .arg(q).arg(page).arg(statement)));
        from = at + statement.size();
    }
    QCOMPARE(page, m_bookletPages - 1);
    QVERIFY(pages[page].endsWith(poppler::withoutBlanks(QStringLiteral("ни одно не пропущено."))));
}

void TestPaper::oneLetterWordsAreBoundToTheNext_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("laidOut"); // '_' stands for the no-break space
    const auto row = [](const char *name, const char *text, const char *laidOut) {
        QTest::newRow(name) << QString::fromUtf8(text) << QString::fromUtf8(laidOut);
    };
    row("in a line", "теплота, интерес к людям", "теплота, интерес к_людям");
    row("every letter", "в и с к а о у В И С К А О У x", "в_и_с_к_а_о_у_В_И_С_К_А_О_У_x");
    row("after a bracket or a quote", "(в школе) «с друзьями»", "(в_школе) «с_друзьями»");
    row("a letter in a word stays", "он в лес, ёж у", "он в_лес, ёж у");
    row("before a full stop", "Форма А. Буклет", "Форма А. Буклет");
    row("Latin letters stay", "a, b и c", "a, b и_c");
    row("other letters stay", "я б ж знал", "я б ж знал");
}

void TestPaper::oneLetterWordsAreBoundToTheNext()
{
    QFETCH(QString, text);
    QFETCH(QString, laidOut);
    QCOMPARE(zorven::laidOutText(text), laidOut.replace(u'_', QChar(0x00A0)));
}

// Statements and options are wrapped by the page routine: none of their lines, as a reader
// of the PDF gets them, ends in a one-letter word.
void TestPaper::noBookletLineEndsInAOneLetterWord()
{
    const QStringList lines = poppler::output(QStringLiteral("pdftotext"), {"-raw", m_booklet, "-"})
                                  .split(QLatin1Char('\n'));
    const QRegularExpression endsInOneLetter(QStringLiteral("(^|\\s)[вискаоуВИСКАОУ]$"));
    for (const QString &line : lines)
        QVERIFY2(!line.trimmed().contains(endsInOneLetter), qPrintable(line));
}

void TestPaper::answerSheetHasTheFieldsAndEveryCellInOrder()
{
    const QString text = poppler::pagesWithoutBlanks(m_answerSheet).join(QString());
    for (const QString &field : {QStringLiteral("ФамилияИ.О."), QStringLiteral("Пол:"),
                                 QStringLiteral("Возраст(лет):"), QStringLiteral("Дата:")})
        QVERIFY2(text.contains(field), qPrintable(field));
    qsizetype from = 0;
    for (int q = 1; q <= zorven::kStatementCount; ++q) {
        const qsizetype at = text.indexOf(QString::number(q) + QStringLiteral("abc"), from);
        QVERIFY2(at >= 0, qPrintable(QString::number(q)));
        from = at;
    }
}

void TestPaper::answerSheetMarksAndBoxesStandWhereTheGeometrySays()
{
    const QString prefix = m_dir.filePath(QStringLiteral("sheet"));
    poppler::output(QStringLiteral("pdftoppm"), {"-png", "-gray", "-singlefile", "-r",
                                                 QString::number(kDotsPerMm * 25.4), m_answerSheet, prefix});
    const QImage image(prefix + QStringLiteral(".png"));
    // A4 as the PDF states it in whole points: 595 x 842, a dot wider or taller at most.
    QVERIFY2(std::abs(image.width() - 2100) <= 1 && std::abs(image.height() - 2970) <= 1,
             qPrintable(QStringLiteral("%1 x %2").arg(image.width()).arg(image.height())));

    for (int corner = 0; corner < 4; ++corner) {
        const QRectF expected = sheet::cornerMarkRect(corner);
        const QRectF measured = measuredEdges(image, expected);
        QVERIFY2(near(measured, expected), qPrintable(describe(measured) + " for " + describe(expected)));
        QVERIFY2(allInkWithin(image, expected, kTolerance), qPrintable(describe(expected)));
    }
    QVERIFY(allInkWithin(image, sheet::topCueRect(), kTolerance));
    QVERIFY(noInkWithin(image, sheet::turnedHalfway(sheet::topCueRect()), -1));
    QList<QRectF> headerBoxes = {sheet::sexBoxRect(0), sheet::sexBoxRect(1)};
    for (int digit = 0; digit < sheet::kUnitsDigits; ++digit)
        headerBoxes << sheet::ageUnitsBoxRect(digit);
    for (int digit = 1; digit <= sheet::kTensDigits; ++digit)
        headerBoxes << sheet::ageTensBoxRect(digit);
    for (const QRectF &expected : headerBoxes) {
        const QRectF measured = measuredEdges(image, expected);
        QVERIFY2(near(measured, expected), qPrintable(describe(measured) + " for " + describe(expected)));
    }
    for (int q = 1; q <= zorven::kStatementCount; ++q) {
        for (int option = 1; option <= 3; ++option) {
            const QRectF expected = sheet::boxRect(q, option);
            const QRectF measured = measuredEdges(image, expected);
            QVERIFY2(near(measured, expected),
                     qPrintable(QStringLiteral("%1%2: ").arg(q).arg(QChar(u'a' + option - 1))
                                + describe(measured) + " for " + describe(expected)));
            QVERIFY2(noInkWithin(image, expected, kTolerance), qPrintable(describe(expected)));
        }
    }
}

void TestPaper::groupListTakesRowsAsTheWindowTakesThem_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QString>("taken"); // "surname|sex|age" per row, or the faults
    const QByteArray header = "\xEF\xBB\xBFФамилия;Пол;Возраст\r\n";
    QTest::newRow("rows") << header + "Петрова А.В.;женский;20\r\n\"Smith;\tJ.\";Мужской; 60\n"
                          << QStringLiteral("Петрова А.В.|Женский|20;Smith; J.|Мужской|60");
    QTest::newRow("age past the sex's limit") << header + "Петрова А.В.;Женский;56\r\n"
                                              << QStringLiteral("строка 2: возраст 56 вне пределов 16..55 для пола «Женский»");
    QTest::newRow("no sex") << header + "Петрова А.В.;;20\r\n"
                            << QStringLiteral("строка 2: пол «»: нужно «Мужской» или «Женский»");
    QTest::newRow("a letter the report cannot hold") << header + "Ω;Мужской;20\r\n"
                                                     << QStringLiteral("строка 2: в фамилии недопустимый знак «Ω»");
    QTest::newRow("a field missing") << header + "Петрова А.В.;Женский\r\n"
                                     << QStringLiteral("строка 2: полей 2, а нужно три: фамилия;пол;возраст");
    QTest::newRow("header alone") << header << QStringLiteral("в списке нет ни одной строки после заголовка");
}

void TestPaper::groupListTakesRowsAsTheWindowTakesThem()
{
    QFETCH(QByteArray, list);
    QFETCH(QString, taken);
    const zorven::GroupList read = zorven::groupListOf(list);
    QStringList rows;
    for (const zorven::GroupSheetRow &row : read.rows)
        rows << QStringLiteral("%1|%2|%3").arg(row.surname, zorven::sexTextOf(row.sex)).arg(row.age);
    QCOMPARE(read.faults.isEmpty() ? rows.join(u';') : read.faults.join(u';'), taken);
}

QTEST_MAIN(TestPaper)
#include "tst_paper.moc"
