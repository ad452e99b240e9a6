// The review of scanned sheets driven as an operator drives it: the doubtful statements
// settled with the keys, the surname typed under the written name, and the sheet scored
// by the same road as keying, to the same report and table row; and the sheets printed for
// a group's list.

#include "app/dialogs.h"
#include "app/zorven.h"
#include "poppler.h"
#include "results/results_table.h"
#include "results/table_records.h"
#include "review/scan_review.h"
#include "scan/page_reader.h"
#include "scan/scans_table.h"
#include "sheet_generator.h"
#include "ui/form_driver.h"
#include "widgets/answer_grid.h"
#include "widgets/typed_ahead_guard.h"
#include "test_files.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>

#include <optional>

namespace {

using zorven::KeyedOptions;
using zorven::Sex;
using zorven::review::ReviewPage;
using zorven::review::ScanReview;
using zorven::scan::ScannedPage;
constexpr int kStatements = zorven::kStatementCount;

const QString kSurname = QStringLiteral("Петрова А.В.");

// A generated sheet, scanned and read, with a few marks the reader must doubt; its sex
// box is taken as doubtful too, as the reader leaves a sex marked twice.
ScannedPage scannedPage(std::uint32_t seed)
{
    sheet_generator::Conditions conditions;
    conditions.seed = seed;
    conditions.blanks = conditions.twoMarks = 0.02;
    conditions.corrections = conditions.erasures = conditions.tooLight = 0;
    const sheet_generator::Page generated = sheet_generator::generatedPage(conditions);
    ScannedPage page = zorven::scan::readPage(generated.image);
    page.file = QStringLiteral("стопка.pdf");
    page.page = 1;
    page.sex.reading = u'?';
    page.sex.why = QStringLiteral("две отметки");
    return page;
}

// The letters a careful person keys from the paper: those read, and 'a' where the
// reader doubted.
KeyedOptions settledOptions(const ReviewPage &page)
{
    KeyedOptions options = page.options;
    for (const zorven::review::StatementToSettle &statement : page.toSettle)
        options.set(statement.statement, 1);
    return options;
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

// An operator who looks at each statement before answering it: the key comes once the
// review takes digits again.
void keyOption(QWidget *review, int option)
{
    QTRY_VERIFY(review->findChild<TypedAheadGuard *>()->isListening());
    pressKey(review, Qt::Key(Qt::Key_0 + option), QString::number(option));
}

bool putFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The PDF of the group's sheets goes where the window proposes it.
class PdfWherever : public Dialogs
{
public:
    PaperChoice askPaperOutput(QWidget *, const QString &) override { return PaperChoice::SavePdf; }
    QString askPaperPdfPath(QWidget *, const QString &, const QString &proposed) override { return proposed; }
    void showErrorReport(QWidget *, const QString &message) override { qFatal("%s", qPrintable(message)); }
};

class ChosenFiles : public zorven::review::ReviewDialogs
{
public:
    QStringList files;
    QString groupList;
    QString askGroupListPath(QWidget *) override { return groupList; }
    QStringList errors;
    bool stop = false;
    QList<int> pagesLeftAsked;

    QStringList askScanFiles(QWidget *) override { return files; }
    bool askToStopReview(QWidget *, int pagesLeft) override
    {
        pagesLeftAsked << pagesLeft;
        return stop;
    }
    void showReadingError(QWidget *, const QString &message) override { errors << message; }
};

} // namespace

class TestScanReview : public QObject
{
    Q_OBJECT

private slots:
    void init() { form_driver::clickWithoutDoubleClickGuard(); }

    void reviewedSheetScoresAsTheKeyedSheet();
    void groupSheetReadWholeNeedsNoKey();
    void scansTableIsReviewedWithItsFilesReadAgain();
    void escapeStopsOnlyWhenTheOperatorSaysSo();
    void groupSheetsPrintOneSheetPerRow();

private:
    ChosenFiles m_dialogs;
};

// A generated scan with doubtful and unmarked statements and a doubtful sex: each statement
// answered (the first taken back and changed; a held key and a key typed ahead settle
// nothing more), the surname, one answer read changed in «Все ответы…», the sex, then
// Enter. Report and row are those of the same sheet keyed, and the row says how many
// statements the person settled.
void TestScanReview::reviewedSheetScoresAsTheKeyedSheet()
{
    const ReviewPage page = zorven::review::reviewPageOf(scannedPage(7));
    QVERIFY(page.wasRead());
    QVERIFY2(page.toSettle.size() >= 3, qPrintable(QString::number(page.toSettle.size())));
    QVERIFY(page.age);
    // A statement read as one letter that the person, comparing the whole sheet with the
    // paper, changes to another.
    int changed = 1;
    while (std::any_of(page.toSettle.cbegin(), page.toSettle.cend(),
                       [changed](const auto &statement) { return statement.statement == changed; }))
        ++changed;
    KeyedOptions paper = settledOptions(page);
    paper.set(changed, paper.at(changed) % 3 + 1);
    QByteArray keyedReport;
    QList<QStringList> keyedRows;
    {
        form_driver::FormFixture keyed;
        QVERIFY(keyed.isReady());
        QWidget *window = &keyed.window();
        form_driver::typeText(keyed.child("LEdit"), kSurname);
        form_driver::chooseSex(window, Sex::Female);
        form_driver::typeAge(window, QString::number(*page.age));
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
    scanned.window().reviewScannedPages({page});
    auto *review = scanned.window().findChild<ScanReview *>();
    QVERIFY(review);
    QVERIFY(QTest::qWaitForWindowExposed(review));

    auto *caption = form_driver::child<QLabel>(review, "StatementCaption");
    const auto statementOnShow = [caption] { return caption->text().section(u' ', 2, 2).toInt(); };
    QCOMPARE(statementOnShow(), page.toSettle[0].statement);
    QVERIFY(!form_driver::child<QLabel>(review, "StatementBoxes")->pixmap().isNull());
    keyOption(review, 3); // a wrong answer, taken back
    pressKey(review, Qt::Key_Backspace, QString());
    QCOMPARE(statementOnShow(), page.toSettle[0].statement);
    keyOption(review, 1);
    pressKey(review, Qt::Key_1, QStringLiteral("1"), true);
    pressKey(review, Qt::Key_1, QStringLiteral("1")); // typed ahead
    QCOMPARE(statementOnShow(), page.toSettle[1].statement);
    for (qsizetype i = 1; i < page.toSettle.size(); ++i)
        keyOption(review, 1);

    auto *name = form_driver::child(review, "ReviewName");
    QVERIFY(name->hasFocus());
    QVERIFY(form_driver::child<QLabel>(review, "SexBoxes")->isVisible());
    form_driver::typeText(name, kSurname);
    QTimer::singleShot(0, review, [&paper, changed] {
        QWidget *answers = QApplication::activeModalWidget();
        auto *grid = form_driver::child<AnswerGrid>(answers, "ReviewAnswerGrid");
        grid->setCurrentStatement(changed);
        QTest::keyClick(grid, Qt::Key(Qt::Key_0 + paper.at(changed)), Qt::NoModifier);
        QTest::mouseClick(form_driver::child<QPushButton>(answers, "TakeAnswers"), Qt::LeftButton);
    });
    QTest::mouseClick(form_driver::child<QPushButton>(review, "ReviewAllAnswers"), Qt::LeftButton);
    auto *sex = form_driver::child<QComboBox>(review, "ReviewSex");
    QCOMPARE(sex->currentIndex(), -1);
    sex->setFocus();
    QTest::keyClick(sex, Qt::Key_Down);
    QTest::keyClick(sex, Qt::Key_Down);
    QCOMPARE(sex->currentText(), QStringLiteral("Женский"));
    QTRY_VERIFY(review->findChild<TypedAheadGuard *>()->isListening()); // Enter waits as digits do
    QTest::keyClick(sex, Qt::Key_Return);

    QCOMPARE(fileBytes(kSurname + QStringLiteral(".txt")), keyedReport);
    const QList<QStringList> rows = tableRows();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(withoutTimeAndMethod(rows[0]), withoutTimeAndMethod(keyedRows[0]));
    QCOMPARE(rows[0][zorven::kEntryMethodColumn],
             QStringLiteral("скан, проверено %1").arg(page.toSettle.size() + 1));
    QVERIFY(form_driver::child(review, "SummaryStep")->isVisible());
}

// «Прочитать сканы…» with a clean sheet printed for row 1 of a group's list, a file that is
// no image, and the list: the sheet is scored at once under the list's name, with no key
// pressed, and the summary names the file that could not be read.
void TestScanReview::groupSheetReadWholeNeedsNoKey()
{
    form_driver::FormFixture scanned;
    QVERIFY(scanned.isReady());
    sheet_generator::Conditions clean;
    clean.blanks = clean.twoMarks = clean.corrections = clean.erasures = clean.tooLight = clean.strayDots = 0;
    clean.groupRow = 1;
    QVERIFY(putFile(QStringLiteral("scan.png"), sheet_generator::generatedPage(clean).file));
    QVERIFY(putFile(QStringLiteral("broken.png"), "not an image"));
    QVERIFY(putFile(QStringLiteral("group.csv"), "Фамилия;Пол;Возраст\r\nPetrova A.V.;Женский;20\r\n"));
    m_dialogs.files = {QStringLiteral("scan.png"), QStringLiteral("broken.png"), QStringLiteral("group.csv")};
    scanned.window().setReviewDialogs(&m_dialogs);
    form_driver::child<QAction>(&scanned.window(), "ReadScans")->trigger();

    const QList<QStringList> rows = tableRows();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].mid(1, 3), (QStringList{QStringLiteral("Petrova A.V."), QStringLiteral("Женский"),
                                             QStringLiteral("20")}));
    QCOMPARE(rows[0][zorven::kEntryMethodColumn], QStringLiteral("скан"));
    auto *review = scanned.window().findChild<ScanReview *>();
    QVERIFY(review);
    const QString summary = form_driver::child<QLabel>(review, "ReviewSummary")->text();
    const QString expected = QStringLiteral("Проверка сканов закончена.\n"
                                            "Страниц: 2. Оценено бланков: 1, из них без единого нажатия: 1.\n"
                                            "Отчёты и строки таблицы результатов — в папке %1.\n"
                                            "\n"
                                            "Не прочитаны (1):\n"
                                            "broken.png: это не изображение")
                                 .arg(QDir::currentPath());
    QVERIFY2(summary.startsWith(expected), qPrintable(summary));
}

// A scans.csv written before, in a folder under the scans: its readings stand (here one
// statement the table leaves to a person), and the file it names is read again for the
// boxes to show.
void TestScanReview::scansTableIsReviewedWithItsFilesReadAgain()
{
    form_driver::FormFixture scanned;
    QVERIFY(scanned.isReady());
    const sheet_generator::Page generated = sheet_generator::generatedPage({});
    QVERIFY(putFile(QStringLiteral("scan.png"), generated.file));
    zorven::scan::ScannedPage page = zorven::scan::readPage(generated.image);
    page.file = QStringLiteral("scan.png");
    page.page = 1;
    const int left = page.statements[41].reading == u'?' ? 0 : 41;
    page.statements[left].reading = u'?';
    QVERIFY(QDir().mkdir(QStringLiteral("out")));
    QVERIFY(putFile(QStringLiteral("out/scans.csv"),
                    zorven::scan::scansTableHeader(false) + zorven::scan::scansTableRow(page, false)));
    QDir::setCurrent(QStringLiteral("out"));
    m_dialogs.files = {QStringLiteral("scans.csv")};
    scanned.window().setReviewDialogs(&m_dialogs);
    form_driver::child<QAction>(&scanned.window(), "ReadScans")->trigger();
    QDir::setCurrent(QStringLiteral(".."));

    auto *review = scanned.window().findChild<ScanReview *>();
    QVERIFY(review);
    QVERIFY(form_driver::child(review, "StatementStep")->isVisible());
    const QList<int> settled = [&page] {
        QList<int> statements;
        for (int q = 1; q <= kStatements; ++q)
            if (page.statements[q - 1].reading == u'?' || page.statements[q - 1].reading == u'-')
                statements << q;
        return statements;
    }();
    QCOMPARE(form_driver::child<QLabel>(review, "StatementCaption")->text().section(u' ', 2, 2).toInt(),
             settled.front());
    QVERIFY(!form_driver::child<QLabel>(review, "StatementBoxes")->pixmap().isNull());
    QVERIFY(form_driver::child<QLabel>(review, "StatementCaption")->text().contains(
        QStringLiteral(" из %1,").arg(settled.size())));
}

// Escape asks first, naming the pages still to review; kept on, the review stays at its
// statement; stopped, the summary says how many pages were not reviewed and nothing is
// scored.
void TestScanReview::escapeStopsOnlyWhenTheOperatorSaysSo()
{
    form_driver::FormFixture scanned;
    QVERIFY(scanned.isReady());
    m_dialogs = {};
    scanned.window().setReviewDialogs(&m_dialogs);
    const ReviewPage page = zorven::review::reviewPageOf(scannedPage(7));
    scanned.window().reviewScannedPages({page, page});
    auto *review = scanned.window().findChild<ScanReview *>();
    QVERIFY(review);
    QVERIFY(QTest::qWaitForWindowExposed(review));

    pressKey(review, Qt::Key_Escape, QString());
    QVERIFY(form_driver::child(review, "StatementStep")->isVisible());
    m_dialogs.stop = true;
    pressKey(review, Qt::Key_Escape, QString());
    QCOMPARE(m_dialogs.pagesLeftAsked, (QList<int>{2, 2}));
    QCOMPARE(form_driver::child<QLabel>(review, "ReviewSummary")->text(),
             QStringLiteral("Проверка прервана. Не проверено страниц: 2.\n"
                            "Страниц: 2. Оценено бланков: 0, из них без единого нажатия: 0."));
    QVERIFY(tableRows().isEmpty());
}

// «Бланки для группы…»: one page per row of the list, each with its respondent printed.
void TestScanReview::groupSheetsPrintOneSheetPerRow()
{
    form_driver::FormFixture window;
    QVERIFY(window.isReady());
    PdfWherever dialogs;
    window.window().setDialogs(&dialogs);
    m_dialogs = {};
    m_dialogs.groupList = QStringLiteral("group.csv");
    window.window().setReviewDialogs(&m_dialogs);
    QVERIFY(putFile(m_dialogs.groupList, "Фамилия;Пол;Возраст\r\nPetrova A.V.;Женский;20\r\nSidorov P.P.;Мужской;34\r\n"));
    form_driver::child<QAction>(&window.window(), "GroupSheets")->trigger();

    QStringList pages = poppler::pagesWithoutBlanks(QStringLiteral("Бланки группы.pdf"));
    pages.removeAll(QString());
    QCOMPARE(pages.size(), 2);
    QVERIFY(pages[0].contains(QStringLiteral("PetrovaA.V.")));
    QVERIFY(pages[1].contains(QStringLiteral("SidorovP.P.")));
}

int main(int argc, char *argv[])
{
    return form_driver::execInRussianLocale<TestScanReview>(argc, argv);
}

#include "tst_scan_review.moc"
