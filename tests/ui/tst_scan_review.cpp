// The review of scanned sheets driven as an operator drives it: the doubtful statements
// settled with the keys, the surname typed under the written name, and the sheet scored
// by the same road as keying, to the same report and table row.

#include "app/zorven.h"
#include "results/results_table.h"
#include "results/table_records.h"
#include "review/scan_review.h"
#include "scan/scanned_page.h"
#include "ui/form_driver.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QTest>

#include <optional>

namespace {

using zorven::KeyedOptions;
using zorven::Sex;
using zorven::review::ReviewPage;
using zorven::review::ScanReview;
using zorven::scan::ScannedPage;
constexpr int kStatements = zorven::kStatementCount;

const QString kSurname = QStringLiteral("Петрова А.В.");

KeyedOptions paperOptions()
{
    KeyedOptions options;
    for (int q = 1; q <= kStatements; ++q)
        options.set(q, (q * 7) % 3 + 1);
    return options;
}

// A page as the reader gives it, laid out on a small image of its own: every statement's
// three boxes, `doubtful` read as '?' and `unmarked` as '-', the others as the paper shows.
ScannedPage scannedPage(const KeyedOptions &paper, const QList<int> &doubtful, int unmarked)
{
    ScannedPage page;
    page.file = QStringLiteral("стопка.pdf");
    page.page = 1;
    page.image = QImage(700, 900, QImage::Format_Grayscale8);
    page.image.fill(Qt::white);
    QPainter painter(&page.image);
    painter.drawText(QRect(20, 20, 300, 40), Qt::AlignLeft, kSurname);
    page.nameField = QRectF(10, 10, 400, 50);
    for (int q = 1; q <= kStatements; ++q) {
        zorven::scan::MarkGroup &mark = page.statements[q - 1];
        const double x = 20 + (q - 1) % 10 * 65, y = 120 + (q - 1) / 10 * 38;
        for (int box = 0; box < 3; ++box) {
            mark.boxes << QRectF(x + box * 18, y, 14, 14);
            mark.darkness << (box + 1 == paper.at(q) ? 0.8 : 0.0);
            painter.drawRect(mark.boxes.back());
        }
        mark.reading = QChar(u'a' + paper.at(q) - 1);
        if (doubtful.contains(q)) {
            mark.reading = u'?';
            mark.why = QStringLiteral("две отметки");
        } else if (q == unmarked) {
            mark.reading = u'-';
        }
    }
    page.sex.reading = u'?';
    page.sex.boxes = {QRectF(450, 20, 14, 14), QRectF(480, 20, 14, 14)};
    page.ageTens.reading = u'2';
    page.ageUnits.reading = u'0';
    return page;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<cannot read>");
}

// The table's rows after the header, as fields.
QList<QStringList> tableRows()
{
    QByteArray bytes = fileBytes(zorven::kResultsTableFileName);
    bytes.remove(0, zorven::kUtf8ByteOrderMark.size());
    QList<QStringList> rows;
    for (const zorven::TableRecord &record : zorven::tableRecords(QString::fromUtf8(bytes)))
        rows << record.fields;
    if (!rows.isEmpty())
        rows.removeFirst();
    return rows;
}

// A row without its moment of scoring and its «Способ ввода», which alone may differ.
QStringList withoutTimeAndMethod(QStringList row)
{
    row[zorven::kEntryMethodColumn].clear();
    row[0].clear();
    return row;
}

void pressKey(QWidget *widget, Qt::Key key, const QString &text, bool autoRepeat = false)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text, autoRepeat);
    QApplication::sendEvent(widget, &press);
}

void keyOption(QWidget *review, int option)
{
    pressKey(review, Qt::Key(Qt::Key_0 + option), QString::number(option));
}

class NoQuestions : public zorven::review::ReviewDialogs
{
public:
    bool askToStopReview(QWidget *, int) override { return false; }
};

} // namespace

class TestScanReview : public QObject
{
    Q_OBJECT

private slots:
    void init() { form_driver::clickWithoutDoubleClickGuard(); }

    void reviewedSheetScoresAsTheKeyedSheet();
    void groupSheetReadWholeNeedsNoKeyAndFailedPageIsNamed();

private:
    NoQuestions m_dialogs;
};

// Statements 5 and 187 doubtful, 77 unmarked, sex doubtful: three answers (one taken back
// and changed, one held key settling one statement only), the surname and the sex, then
// Enter. Report and row are the keyed sheet's, and the row says «скан, проверено 3».
void TestScanReview::reviewedSheetScoresAsTheKeyedSheet()
{
    const KeyedOptions paper = paperOptions();
    QByteArray keyedReport;
    QList<QStringList> keyedRows;
    {
        form_driver::FormFixture keyed;
        QVERIFY(keyed.isReady());
        QWidget *window = &keyed.window();
        form_driver::typeText(keyed.child("LEdit"), kSurname);
        form_driver::chooseSex(window, Sex::Female);
        form_driver::typeAge(window, QStringLiteral("20"));
        QTest::keyClick(window, Qt::Key_Return);
        for (int q = 1; q <= kStatements; ++q)
            QTest::keyClick(window, Qt::Key(Qt::Key_0 + paper.at(q)));
        keyedReport = fileBytes(kSurname + QStringLiteral(".txt"));
        keyedRows = tableRows();
    }
    QCOMPARE(keyedRows.size(), 1);
    QVERIFY(keyedReport.startsWith("\xD0\xE5\xE7"));

    form_driver::FormFixture scanned;
    QVERIFY(scanned.isReady());
    scanned.window().setReviewDialogs(&m_dialogs);
    scanned.window().reviewScannedPages({zorven::review::reviewPageOf(scannedPage(paper, {5, 187}, 77))});
    auto *review = scanned.window().findChild<ScanReview *>();
    QVERIFY(review);
    QVERIFY(QTest::qWaitForWindowExposed(review));

    QCOMPARE(form_driver::child<QLabel>(review, "StatementCaption")->text().section(u' ', 0, 2),
             QStringLiteral("Утверждение № 5"));
    QVERIFY(!form_driver::child<QLabel>(review, "StatementBoxes")->pixmap().isNull());
    keyOption(review, paper.at(5) % 3 + 1); // a wrong answer, taken back
    pressKey(review, Qt::Key_Backspace, QString());
    keyOption(review, paper.at(5));
    keyOption(review, paper.at(77));
    pressKey(review, Qt::Key(Qt::Key_0 + paper.at(77)), QString::number(paper.at(77)), true);
    QCOMPARE(form_driver::child<QLabel>(review, "StatementCaption")->text().section(u' ', 0, 2),
             QStringLiteral("Утверждение № 187"));
    keyOption(review, paper.at(187));

    auto *name = form_driver::child(review, "ReviewName");
    QVERIFY(name->hasFocus());
    QVERIFY(!form_driver::child<QLabel>(review, "NameImage")->pixmap().isNull());
    QVERIFY(form_driver::child<QLabel>(review, "SexBoxes")->isVisible());
    form_driver::typeText(name, kSurname);
    auto *sex = form_driver::child<QComboBox>(review, "ReviewSex");
    QCOMPARE(sex->currentIndex(), -1);
    sex->setFocus();
    QTest::keyClick(sex, Qt::Key_Down);
    QTest::keyClick(sex, Qt::Key_Down);
    QCOMPARE(sex->currentText(), QStringLiteral("Женский"));
    QTest::keyClick(sex, Qt::Key_Return);

    QCOMPARE(fileBytes(kSurname + QStringLiteral(".txt")), keyedReport);
    const QList<QStringList> rows = tableRows();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(withoutTimeAndMethod(rows[0]), withoutTimeAndMethod(keyedRows[0]));
    QCOMPARE(rows[0][zorven::kEntryMethodColumn], QStringLiteral("скан, проверено 3"));
    QVERIFY(form_driver::child(review, "SummaryStep")->isVisible());
}

// A failed page first, then a group sheet whose list gave its respondent and whose marks
// were all read: scored at once, «скан», and the summary names the failed page and why.
void TestScanReview::groupSheetReadWholeNeedsNoKeyAndFailedPageIsNamed()
{
    form_driver::FormFixture scanned;
    QVERIFY(scanned.isReady());
    scanned.window().setReviewDialogs(&m_dialogs);
    ScannedPage failed;
    failed.file = QStringLiteral("стопка.pdf");
    failed.page = 1;
    failed.failure = QStringLiteral("угловые метки не найдены");
    ReviewPage group = zorven::review::reviewPageOf(scannedPage(paperOptions(), {}, 0));
    group.page = 2;
    group.groupRow = 4;
    group.member = zorven::review::GroupMember{kSurname, Sex::Female, 20};
    scanned.window().reviewScannedPages({zorven::review::reviewPageOf(failed), group});

    const QList<QStringList> rows = tableRows();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0][1], kSurname);
    QCOMPARE(rows[0][zorven::kEntryMethodColumn], QStringLiteral("скан"));
    auto *review = scanned.window().findChild<ScanReview *>();
    QCOMPARE(form_driver::child<QLabel>(review, "ReviewSummary")->text(),
             QStringLiteral("Проверка сканов закончена.\n"
                            "Страниц: 2. Оценено бланков: 1, из них без единого нажатия: 1.\n"
                            "\n"
                            "Не прочитаны (1):\n"
                            "стопка.pdf, страница 1: угловые метки не найдены"));
}

int main(int argc, char *argv[])
{
    return form_driver::execInRussianLocale<TestScanReview>(argc, argv);
}

#include "tst_scan_review.moc"
