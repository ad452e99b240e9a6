// After a sheet is scored: its keyed answers checked against the paper sheet, corrected
// and scored again in «Ответы бланка…», and the profile page shown, printed or saved as
// PDF.
// Before one is: the booklet and the blank answer sheet printed or saved from the menu.
// The window and the dialog are driven as an operator drives them; what a PDF shows is
// read back with poppler's pdfinfo and pdftotext, as another program would read it.

#include "widgets/answer_grid.h"
#include "app/answers_dialog.h"
#include "app/dialogs.h"
#include "app/zorven.h"
#include "questionnaire/answer_key.h"
#include "questionnaire/statements.h"
#include "results/results_table.h"
#include "paper/booklet.h"
#include "profile/profile_page.h"
#include "profile/profile_window.h"
#include "profile/scale_names.h"
#include "profile/scale_poles.h"
#include "poppler.h"
#include "results/report.h"
#include "ui/form_driver.h"
#include "test_files.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTest>
#include <QToolTip>
#include <QScrollBar>

#include <optional>

namespace {

constexpr int kStatements = zorven::kStatementCount;

class ScriptedDialogs : public Dialogs
{
public:
    QStringList errorReports;
    QStringList errorPaths;  // the file each error report named, if any
    QStringList proposedPdfPaths;
    QString pdfPathAnswer;   // empty: the save dialog is cancelled
    QString reportPathAnswer; // the same for «Сохранить отчёт…»
    QString printerFile;     // where the "printer" puts its page; empty: cancelled
    int printDialogs = 0;
    Dialogs::PaperChoice paperChoice = Dialogs::PaperChoice::Cancel;
    QStringList paperAskedAbout;

    void showErrorReport(QWidget *, const QString &message) override { errorReports << message; }
    void showFileErrorReport(QWidget *, const QString &message, const QString &path) override
    {
        errorReports << message;
        errorPaths << path;
    }
    QString askReportPath(QWidget *, const QString &) override { return reportPathAnswer; }

    QString askProfilePdfPath(QWidget *, const QString &proposedPath) override
    {
        proposedPdfPaths << proposedPath;
        return pdfPathAnswer;
    }

    PaperChoice askPaperOutput(QWidget *, const QString &what) override
    {
        paperAskedAbout << what;
        return paperChoice;
    }

    QString askPaperPdfPath(QWidget *, const QString &, const QString &proposedPath) override
    {
        proposedPdfPaths << proposedPath;
        return pdfPathAnswer;
    }

    // Stands in for the print dialog and a printer: the page goes to a PDF file.
    bool askPrinter(QWidget *, QPrinter &printer) override
    {
        ++printDialogs;
        if (printerFile.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printerFile);
        return true;
    }
};

// a, b, c by turns from statement 3 (q % 3 == 0 is a), as the end-to-end woman's sheet.
zorven::KeyedOptions optionsByTurns()
{
    zorven::KeyedOptions options;
    for (int q = 1; q <= kStatements; ++q)
        options.set(q, q % 3 + 1);
    return options;
}

// For a statement of a graded scale: the option worth 2 points, or if `option` is, the one
// worth none.
int otherExtreme(int q, int option)
{
    const int wanted = zorven::answerCode(q, option) == 2 ? 0 : 2;
    for (int other = 1; other <= 3; ++other) {
        if (zorven::answerCode(q, other) == wanted)
            return other;
    }
    qFatal("statement %d has no option worth %d", q, wanted);
}

// Factor A's statements, keyed wrong: enough to move its sten.
const QList<int> kMiskeyed = {3, 26, 27, 51, 52, 76};

zorven::KeyedOptions withMiskeys(zorven::KeyedOptions options)
{
    for (const int q : kMiskeyed)
        options.set(q, otherExtreme(q, options.at(q)));
    return options;
}

// With the arrow keys: down a row at a time, then along the row.
void goTo(AnswerGrid *grid, int q)
{
    while (grid->currentStatement() + AnswerGrid::kCellsPerRow <= q)
        QTest::keyClick(grid, Qt::Key_Down);
    while (grid->currentStatement() < q)
        QTest::keyClick(grid, Qt::Key_Right);
    while (grid->currentStatement() > q)
        QTest::keyClick(grid, Qt::Key_Left);
}

// The newest row of the results table in the working folder, from the field after its
// time of scoring on.
QByteArray lastTableRowAfterItsTime()
{
    const QByteArray table = fileBytes(zorven::kResultsTableFileName);
    const QByteArray last = table.sliced(table.lastIndexOf("\r\n", table.size() - 3) + 2);
    return last.sliced(last.indexOf(';'));
}

// Two pictures of the same size, each averaged over blocks of 12 by 12 pixels: the
// largest difference of a block in grey levels, 0 to 255. Two renderers place a glyph's
// edge or a thin line's shade a pixel apart; averaged, that vanishes, while a mark drawn
// elsewhere does not.
int largestBlockDifference(const QImage &a, const QImage &b)
{
    constexpr int kBlock = 12;
    const auto blocks = [](const QImage &image) {
        return image.convertToFormat(QImage::Format_Grayscale8)
            .scaled(image.size() / kBlock, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    };
    const QImage blocksA = blocks(a);
    const QImage blocksB = blocks(b);
    int largest = 0;
    for (int y = 0; y < blocksA.height(); ++y)
        for (int x = 0; x < blocksA.width(); ++x)
            largest = std::max(largest, std::abs(blocksA.pixelColor(x, y).value()
                                                 - blocksB.pixelColor(x, y).value()));
    return largest;
}

// The first page of a PDF as poppler draws it, `size` pixels large.
QImage pdfPageImage(const QString &pdf, const QSize &size)
{
    const QString png = pdf + QStringLiteral(".page");
    poppler::output(QStringLiteral("pdftoppm"),
                    {"-png", "-singlefile", "-scale-to-x", QString::number(size.width()),
                     "-scale-to-y", QString::number(size.height()), pdf, png});
    return QImage(png + QStringLiteral(".png"));
}

QStringList entriesOf(const QString &directory)
{
    return QDir(directory).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

// Every file of the folder and its bytes.
QMap<QString, QByteArray> contentsOf(const QString &directory)
{
    QMap<QString, QByteArray> contents;
    for (const QString &name : entriesOf(directory))
        contents[name] = fileBytes(QDir(directory).filePath(name));
    return contents;
}

struct Shown
{
    QList<double> bars;
    QStringList values;
    friend bool operator==(const Shown &, const Shown &) = default;
};

} // namespace

class TestAfterScoring : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void changedCellChangesTheRecord_data();
    void changedCellChangesTheRecord();
    void rescoreGivesWhatKeyingTheCorrectedSheetGives();
    void cancelLeavesEverythingAsItWas();
    void failedRewriteSaysTheReportWasNotWritten();
    void doubleClickOnSheetAnswersChangesNoCell();
    void profilePageIsOnePageWithTheSheetsResults_data();
    void profilePageIsOnePageWithTheSheetsResults();
    void cancelledOrFailedProfileLosesNothing();
    void profileWindowShowsThePdfsPage();
    void longSurnameStaysWithinThePage();
    void qualitySignsCloseTheProfilePage();
    void paperForAGroupBeforeAnySheet_data();
    void paperForAGroupBeforeAnySheet();

private:
    template<typename T = QWidget>
    T *child(const char *name) const
    {
        return form_driver::child<T>(m_window, name);
    }
    void keySheet(TForm1 *window, const zorven::KeyedOptions &options);
    AnswersDialog *openAnswers();
    void rescoreCorrected(AnswersDialog *dialog);
    Shown shown(const TForm1 *window) const;

    std::optional<form_driver::FormFixture> m_form;
    ScriptedDialogs m_dialogs;
    TForm1 *m_window = nullptr;
};

void TestAfterScoring::init()
{
    m_dialogs = {};
    m_form.emplace();
    QVERIFY(m_form->isReady());
    m_window = &m_form->window();
    m_window->setDialogs(&m_dialogs);
}

void TestAfterScoring::cleanup()
{
    m_form.reset();
}

// The woman of the end-to-end test, keyed with the keys 1, 2, 3.
void TestAfterScoring::keySheet(TForm1 *window, const zorven::KeyedOptions &options)
{
    form_driver::typeText(form_driver::child<QLineEdit>(window, "LEdit"),
                          QStringLiteral("Петрова А.В."));
    form_driver::chooseSex(window, zorven::Sex::Female);
    form_driver::typeAge(window, QStringLiteral("20"));
    QTest::mouseClick(form_driver::child<QPushButton>(window, "Button4"), Qt::LeftButton);
    for (int q = 1; q <= kStatements; ++q)
        QTest::keyClick(window, Qt::Key(Qt::Key_0 + options.at(q)));
    if (!window->sheet().options.isComplete())
        qFatal("the sheet was not keyed");
}

AnswersDialog *TestAfterScoring::openAnswers()
{
    child<QAction>("SheetAnswers")->trigger();
    auto *dialog = m_window->findChild<AnswersDialog *>(QStringLiteral("AnswersDialog"));
    if (!dialog || !QTest::qWaitForWindowExposed(dialog))
        qFatal("«Ответы бланка» did not open");
    return dialog;
}

Shown TestAfterScoring::shown(const TForm1 *window) const
{
    Shown result;
    const zorven::ProfileSeries &series = window->chart().series(0);
    for (int k = 0; k < series.pointCount(); ++k)
        result.bars << series.value(k);
    for (const char *name : {"RzLabel1", "RzLabel2", "RzLabel3", "RzLabel4"})
        result.values << form_driver::child<QLabel>(window, name)->text();
    return result;
}

// Each row starts at statement 1 with the letters by turns, moves with `keys`, and then
// clicks a box or types a character.
void TestAfterScoring::changedCellChangesTheRecord_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("clickedOption"); // 0: a character is typed instead
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("statement");
    QTest::addColumn<int>("option"); // the letter the cell holds afterwards

    using K = QList<int>;
    QTest::newRow("box a clicked") << K{Qt::Key_Down, Qt::Key_Right, Qt::Key_Right}
                                   << 1 << QString() << 13 << 1;
    QTest::newRow("c typed after moving down twice and right")
        << K{Qt::Key_Down, Qt::Key_Down, Qt::Key_Right} << 0 << "c" << 22 << 3;
    QTest::newRow("2 typed at the end, one row up") << K{Qt::Key_End, Qt::Key_Up} << 0 << "2"
                                                    << 177 << 2;
    QTest::newRow("Cyrillic б") << K{Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right}
                                << 0 << QStringLiteral("б") << 5 << 2;
    QTest::newRow("Cyrillic с, the look-alike of c") << K{} << 0 << QStringLiteral("с") << 1 << 3;
    QTest::newRow("a move off the sheet stays") << K{Qt::Key_Up, Qt::Key_Left} << 0 << "a" << 1
                                                << 1;
    QTest::newRow("Cyrillic в is refused") << K{Qt::Key_Right} << 0 << QStringLiteral("в") << 2
                                           << 1 + 2 % 3;
    QTest::newRow("x is refused") << K{Qt::Key_Right} << 0 << "x" << 2 << 1 + 2 % 3;
}

void TestAfterScoring::changedCellChangesTheRecord()
{
    QFETCH(QList<int>, keys);
    QFETCH(int, clickedOption);
    QFETCH(QString, typed);
    QFETCH(int, statement);
    QFETCH(int, option);

    const zorven::KeyedOptions keyed = optionsByTurns();
    AnswersDialog dialog(keyed);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto *grid = form_driver::child<AnswerGrid>(&dialog, "AnswerGrid");
    auto *rescore = form_driver::child<QPushButton>(&dialog, "Rescore");
    QSignalSpy refused(grid, &AnswerGrid::refusedKey);
    QVERIFY(grid->hasFocus());

    for (const int key : keys)
        QTest::keyClick(grid, Qt::Key(key));
    QCOMPARE(grid->currentStatement(), statement);
    QVERIFY(form_driver::child<QLabel>(&dialog, "AnswersStatement")
                ->text()
                .endsWith(zorven::statementText(statement)));
    if (clickedOption != 0)
        QTest::mouseClick(grid, Qt::LeftButton, {}, grid->optionRect(statement, clickedOption).center());
    else
        form_driver::typeText(grid, typed);

    zorven::KeyedOptions expected = keyed;
    expected.set(statement, option);
    QCOMPARE(dialog.options(), expected);
    const zorven::AnswerRecord record = zorven::answerRecordOf(dialog.options());
    QCOMPARE(record.at(statement), zorven::answerCode(statement, option));
    const bool changed = option != keyed.at(statement);
    QCOMPARE(grid->isChanged(statement), changed);
    QCOMPARE(rescore->isEnabled(), changed);
    QCOMPARE(refused.size(), typed == QStringLiteral("в") || typed == "x" ? 1 : 0);

    // Changed back, the cell no longer stands out and there is nothing to score again.
    form_driver::typeText(grid, QString::number(keyed.at(statement)));
    QVERIFY(!grid->isChanged(statement));
    QVERIFY(!rescore->isEnabled());

    QHelpEvent help(QEvent::ToolTip, grid->cellRect(statement).center(),
                    grid->mapToGlobal(grid->cellRect(statement).center()));
    QApplication::sendEvent(grid, &help);
    QVERIFY(QToolTip::text().contains(zorven::statementText(statement).toHtmlEscaped()));
}

// The operator corrects A's statements with the keys alone and re-scores: report, chart,
// values and record are those of the same sheet keyed right from the start.
void TestAfterScoring::rescoreGivesWhatKeyingTheCorrectedSheetGives()
{
    const QString reportName = QStringLiteral("Петрова А.В..txt");
    QByteArray rightReport;
    QStringList rightFiles;
    QByteArray rightRow;
    Shown rightShown;
    zorven::Sheet rightSheet;
    {
        ScriptedDialogs dialogs;
        form_driver::FormFixture right;
        QVERIFY(right.isReady());
        right.window().setDialogs(&dialogs);
        keySheet(&right.window(), optionsByTurns());
        rightReport = fileBytes(reportName);
        rightFiles = entriesOf(QDir::currentPath());
        rightRow = lastTableRowAfterItsTime();
        rightShown = shown(&right.window());
        rightSheet = right.window().sheet();
    }

    for (const char *name : {"SheetAnswers", "PrintProfile", "SaveProfilePdf"})
        QVERIFY2(!child<QAction>(name)->isEnabled(), name);
    keySheet(m_window, withMiskeys(optionsByTurns()));
    for (const char *name : {"SheetAnswers", "PrintProfile", "SaveProfilePdf"})
        QVERIFY2(child<QAction>(name)->isEnabled(), name);
    QVERIFY2(fileBytes(reportName) != rightReport, "the miskeys change nothing: no test");
    QVERIFY(shown(m_window) != rightShown);

    AnswersDialog *dialog = openAnswers();
    auto *grid = form_driver::child<AnswerGrid>(dialog, "AnswerGrid");
    for (const int q : kMiskeyed) {
        goTo(grid, q);
        QTest::keyClicks(grid, QString(QChar(u'a' + optionsByTurns().at(q) - 1)));
    }
    auto *rescore = form_driver::child<QPushButton>(dialog, "Rescore");
    QTest::keyClick(grid, Qt::Key_Return);
    QVERIFY2(dialog->isVisible(), "Enter in the grid re-scored");
    while (QApplication::focusWidget() != rescore)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(rescore, Qt::Key_Space);

    QTRY_VERIFY(!m_window->findChild<AnswersDialog *>());
    QVERIFY(m_dialogs.errorReports.isEmpty());
    QCOMPARE(entriesOf(QDir::currentPath()), rightFiles);
    QCOMPARE(fileBytes(reportName), rightReport);
    QCOMPARE(fileBytes(zorven::kResultsTableFileName).count("\r\n"), 3); // the earlier row stays
    QCOMPARE(lastTableRowAfterItsTime(), rightRow);
    QCOMPARE(shown(m_window), rightShown);
    QCOMPARE(m_window->sheet().options, rightSheet.options);
    for (int q = 1; q <= kStatements; ++q)
        QVERIFY2(m_window->sheet().answers.at(q) == rightSheet.answers.at(q), qPrintable(QString::number(q)));
}

void TestAfterScoring::cancelLeavesEverythingAsItWas()
{
    keySheet(m_window, withMiskeys(optionsByTurns()));
    const QString reportName = QStringLiteral("Петрова А.В..txt");
    const QDateTime written = QFileInfo(reportName).lastModified();
    const QMap<QString, QByteArray> files = contentsOf(QDir::currentPath());
    const zorven::Sheet sheet = m_window->sheet();
    const Shown before = shown(m_window);

    AnswersDialog *dialog = openAnswers();
    auto *grid = form_driver::child<AnswerGrid>(dialog, "AnswerGrid");
    for (const int q : {3, 26})
        QTest::mouseClick(grid, Qt::LeftButton, {},
                          grid->optionRect(q, otherExtreme(q, sheet.options.at(q))).center());
    QVERIFY(grid->hasChanges());
    QTest::keyClick(grid, Qt::Key_Escape);

    QTRY_VERIFY(!m_window->findChild<AnswersDialog *>());
    QCOMPARE(m_window->sheet().options, sheet.options);
    QCOMPARE(m_window->sheet().stens, sheet.stens);
    QCOMPARE(m_window->sheet().secondOrder, sheet.secondOrder);
    QCOMPARE(shown(m_window), before);
    QCOMPARE(contentsOf(QDir::currentPath()), files);
    QCOMPARE(QFileInfo(reportName).lastModified(), written);
    QVERIFY(m_dialogs.errorReports.isEmpty());

    // Opened again, it shows the letters as keyed, none of them marked changed.
    dialog = openAnswers();
    grid = form_driver::child<AnswerGrid>(dialog, "AnswerGrid");
    QVERIFY(!grid->hasChanges());
    QCOMPARE(grid->options(), sheet.options);
    QTest::mouseClick(form_driver::child<QPushButton>(dialog, "CancelAnswers"), Qt::LeftButton);
    QTRY_VERIFY(!m_window->findChild<AnswersDialog *>());
}

// The miskeyed cells set right with the mouse, and «Пересчитать» clicked.
void TestAfterScoring::rescoreCorrected(AnswersDialog *dialog)
{
    auto *grid = form_driver::child<AnswerGrid>(dialog, "AnswerGrid");
    for (const int q : kMiskeyed)
        QTest::mouseClick(grid, Qt::LeftButton, {},
                          grid->optionRect(q, optionsByTurns().at(q)).center());
    QTest::mouseClick(form_driver::child<QPushButton>(dialog, "Rescore"), Qt::LeftButton);
    QTRY_VERIFY(!m_window->findChild<AnswersDialog *>());
}

// The earlier report was protected: it keeps the earlier results, so the label must no
// longer say it holds the results on screen, and «Сохранить отчёт…» saves the corrected
// ones.
void TestAfterScoring::failedRewriteSaysTheReportWasNotWritten()
{
    keySheet(m_window, withMiskeys(optionsByTurns()));
    const QString reportName = QStringLiteral("Петрова А.В..txt");
    const QByteArray earlier = fileBytes(reportName);
    QVERIFY(QFile::setPermissions(reportName, QFile::ReadOwner));

    rescoreCorrected(openAnswers());

    QCOMPARE(m_dialogs.errorReports, QStringList{QStringLiteral("File access denied.")});
    QCOMPARE(m_dialogs.errorPaths, QStringList{QDir::current().absoluteFilePath(reportName)});
    QCOMPARE(fileBytes(reportName), earlier);
    auto *label = child<QLabel>("Label2");
    QVERIFY(label->isVisible());
    QCOMPARE(label->text(), QStringLiteral("Отчёт не записан в файл - ") + reportName);

    m_dialogs.reportPathAnswer = QDir::current().absoluteFilePath(QStringLiteral("copy.txt"));
    child<QAction>("SaveReport")->trigger();
    const zorven::Sheet &sheet = m_window->sheet();
    const zorven::ReportData corrected{QStringLiteral("Петрова А.В."), 20, QStringLiteral("Женский"),
                                       QDate::currentDate(), sheet.stens, sheet.secondOrder};
    QCOMPARE(sheet.options, optionsByTurns());
    QCOMPARE(fileBytes(m_dialogs.reportPathAnswer),
             zorven::reportBytes(corrected, zorven::RegionalSettings::fromSystem()));
}

// The second click of a double click on the menu item lands in the dialog that opened
// under it, and must change no cell there.
void TestAfterScoring::doubleClickOnSheetAnswersChangesNoCell()
{
    keySheet(m_window, optionsByTurns());
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(400);
    AnswersDialog *dialog = openAnswers();
    auto *grid = form_driver::child<AnswerGrid>(dialog, "AnswerGrid");
    const QPoint otherBox = grid->optionRect(64, optionsByTurns().at(64) % 3 + 1).center();

    QTest::mouseDClick(grid, Qt::LeftButton, {}, otherBox);
    QTest::mouseClick(grid, Qt::LeftButton, {}, otherBox);
    QVERIFY(!grid->hasChanges());

    QTest::qWait(QApplication::doubleClickInterval());
    QTest::mouseClick(grid, Qt::LeftButton, {}, otherBox);
    QVERIFY(grid->isChanged(64));
}

void TestAfterScoring::profilePageIsOnePageWithTheSheetsResults_data()
{
    QTest::addColumn<bool>("printed");
    QTest::newRow("saved as PDF") << false;
    QTest::newRow("printed") << true;
}

void TestAfterScoring::profilePageIsOnePageWithTheSheetsResults()
{
    QFETCH(bool, printed);
    keySheet(m_window, optionsByTurns());
    const QString proposed = QDir::current().absoluteFilePath(QStringLiteral("Петрова А.В..pdf"));
    QString pdf;
    if (printed) {
        pdf = QDir::current().absoluteFilePath(QStringLiteral("printer.pdf"));
        m_dialogs.printerFile = pdf;
        child<QAction>("PrintProfile")->trigger();
        QCOMPARE(m_dialogs.printDialogs, 1);
    } else {
        pdf = proposed;
        m_dialogs.pdfPathAnswer = proposed;
        child<QAction>("SaveProfilePdf")->trigger();
        QCOMPARE(m_dialogs.proposedPdfPaths, QStringList{proposed});
    }
    QVERIFY(m_dialogs.errorReports.isEmpty());

    const QString info = poppler::output(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("^Pages: +1$"),
                                              QRegularExpression::MultilineOption)),
             qPrintable(info));
    QVERIFY2(info.contains(QStringLiteral("(A4)")), qPrintable(info));

    const QString text = poppler::output(QStringLiteral("pdftotext"), {"-layout", pdf, "-"});
    const QString date = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
    for (const QString &line : {QStringLiteral("Фамилия: Петрова А.В."),
                                QStringLiteral("Возраст (лет): 20"), QStringLiteral("Пол: Женский"),
                                QStringLiteral("Дата проведения: ") + date})
        QVERIFY2(text.contains(line), qPrintable(line));
    // Each factor's row: letter, scale name, sten, then what its low and its high pole mean.
    const QString drawn = poppler::pagesWithoutBlanks(pdf).join(QString());
    const zorven::Stens &stens = m_window->sheet().stens;
    for (int k = 0; k < zorven::kFactorCount; ++k) {
        const QString row = poppler::withoutBlanks(
            QString::fromLatin1(zorven::kFactorNames[k].data()) + zorven::scaleName(k)
            + QString::number(stens[k]) + zorven::lowPole(k) + zorven::highPole(k));
        QVERIFY2(drawn.contains(row), qPrintable(row + "\n" + drawn));
    }
    for (int f = 0; f < 4; ++f) {
        const QString line = shown(m_window).values[f] + zorven::secondOrderDrivers(f);
        QVERIFY2(drawn.contains(poppler::withoutBlanks(line)), qPrintable(line));
    }
}

// A cancelled dialog writes and prints nothing; a PDF that cannot be written is named in
// the box, and the same command then writes it elsewhere.
void TestAfterScoring::cancelledOrFailedProfileLosesNothing()
{
    keySheet(m_window, optionsByTurns());
    const QStringList files = entriesOf(QDir::currentPath());

    child<QAction>("PrintProfile")->trigger();
    child<QAction>("SaveProfilePdf")->trigger();
    QCOMPARE(m_dialogs.printDialogs, 1);
    QCOMPARE(m_dialogs.proposedPdfPaths.size(), 1);
    QCOMPARE(entriesOf(QDir::currentPath()), files);
    QVERIFY(m_dialogs.errorReports.isEmpty());

    const QString missing = QDir::current().absoluteFilePath(QStringLiteral("missing/profile.pdf"));
    m_dialogs.pdfPathAnswer = missing;
    child<QAction>("SaveProfilePdf")->trigger();
    QCOMPARE(m_dialogs.errorReports,
             QStringList{QStringLiteral("Профиль не сохранён в файл %1: File not found.")
                             .arg(QDir::toNativeSeparators(missing))});
    QCOMPARE(entriesOf(QDir::currentPath()), files);

    m_dialogs.pdfPathAnswer = QDir::current().absoluteFilePath(QStringLiteral("profile.pdf"));
    child<QAction>("SaveProfilePdf")->trigger();
    QCOMPARE(m_dialogs.errorReports.size(), 1);
    QVERIFY(fileBytes(m_dialogs.pdfPathAnswer).startsWith("%PDF-"));
}

// «Профиль…» draws the page its «Сохранить в PDF…» writes: the window's picture and
// poppler's picture of the PDF differ only as two renderers do, unlike the page of another
// sheet. The value labels name what moves F1..F4.
void TestAfterScoring::profileWindowShowsThePdfsPage()
{
    keySheet(m_window, optionsByTurns());
    child<QAction>("ShowProfile")->trigger();
    auto *window = m_window->findChild<zorven::ProfileWindow *>(QStringLiteral("ProfileWindow"));
    QVERIFY(window && QTest::qWaitForWindowExposed(window));
    auto *page = form_driver::child<zorven::PageView>(window, "ProfilePage");
    window->resize(1040, 1540); // the whole page in view
    QTRY_COMPARE(page->verticalScrollBar()->maximum(), 0);
    const QImage onScreen = page->viewport()->grab().toImage();

    m_dialogs.pdfPathAnswer = QDir::current().absoluteFilePath(QStringLiteral("profile.pdf"));
    QTest::mouseClick(form_driver::child<QPushButton>(window, "SavePagePdf"), Qt::LeftButton);
    const QSize pageSize(onScreen.width(), qRound(onScreen.width() * 297.0 / 210));
    const QImage onPaper = pdfPageImage(m_dialogs.pdfPathAnswer, pageSize);
    QCOMPARE(onPaper.size(), pageSize);

    const zorven::ReportData other{QStringLiteral("Петрова А.В."), 20, QStringLiteral("Женский"),
                                   QDate::currentDate(), zorven::Stens{1, 10, 1, 10, 1, 10, 1, 10},
                                   {}};
    const QString otherPdf = QDir::current().absoluteFilePath(QStringLiteral("other.pdf"));
    QFile file(otherPdf);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(zorven::profilePdf(other, zorven::RegionalSettings::fromSystem()));
    file.close();
    const QImage pageOnScreen = onScreen.copy(QRect(QPoint(), pageSize));
    const int same = largestBlockDifference(pageOnScreen, onPaper);
    const int different = largestBlockDifference(pageOnScreen, pdfPageImage(otherPdf, pageSize));
    qInfo("window against its PDF %d, against another sheet's %d grey levels", same, different);
    constexpr int kRenderersApart = 48; // poppler and Qt differed by 28 here
    QVERIFY(same < kRenderersApart);
    QVERIFY(different > 2 * kRenderersApart);

    QTest::mouseClick(form_driver::child<QPushButton>(window, "PrintPage"), Qt::LeftButton);
    QCOMPARE(m_dialogs.printDialogs, 1);
    for (int f = 0; f < 4; ++f)
        QCOMPARE(child<QLabel>(qPrintable(QStringLiteral("RzLabel%1").arg(f + 1)))->toolTip(),
                 zorven::secondOrderDrivers(f));
}

// A surname longer than the page is wide is shown whole, within the page's margins.
void TestAfterScoring::longSurnameStaysWithinThePage()
{
    const QString surname(300, u'W');
    const zorven::ReportData data{surname, 20, QStringLiteral("Женский"), QDate(2026, 12, 8), {}, {}};
    QFile pdf(QDir::current().absoluteFilePath(QStringLiteral("long.pdf")));
    QVERIFY(pdf.open(QIODevice::WriteOnly));
    pdf.write(zorven::profilePdf(data, zorven::RegionalSettings::fromSystem()));
    pdf.close();

    const QString text = poppler::output(QStringLiteral("pdftotext"), {pdf.fileName(), "-"});
    QCOMPARE(text.count(u'W'), surname.size());
}

// The signs come last, under their heading, still on the one page; a flagged one in bold.
void TestAfterScoring::qualitySignsCloseTheProfilePage()
{
    const zorven::ReportData data{QStringLiteral("Петрова А.В."), 20, QStringLiteral("Женский"),
                                  QDate(2026, 12, 8), {}, {}};
    const QList<zorven::QualitySign> signs{
        {QStringLiteral("средних ответов: 120 из 186 — больше половины"), true},
        {QStringLiteral("самая длинная серия одинаковых ответов: 4 (c, утверждения 17–20)"), false},
        {QStringLiteral("ответов быстрее, чем можно прочесть утверждение: 40 из 186 — больше десятой части"), true}};
    QFile pdf(QDir::current().absoluteFilePath(QStringLiteral("signs.pdf")));
    QVERIFY(pdf.open(QIODevice::WriteOnly));
    pdf.write(zorven::profilePdf(data, zorven::RegionalSettings::fromSystem(), signs));
    pdf.close();

    // Text drawn below the page's foot would not be read back.
    const QStringList pages = poppler::pagesWithoutBlanks(pdf.fileName());
    QVERIFY(pages[0].endsWith(poppler::withoutBlanks(zorven::kQualitySignsHeading + signs[0].text
                                                     + signs[1].text + signs[2].text)));
    const QString fonts = poppler::output(QStringLiteral("pdffonts"), {pdf.fileName()});
    QVERIFY(fonts.contains(QStringLiteral("Bold")));
}

void TestAfterScoring::paperForAGroupBeforeAnySheet_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("printed");
    QTest::addColumn<int>("pages");
    const int bookletPages = zorven::bookletDocument().pageCount;
    QTest::newRow("booklet saved") << QStringLiteral("Booklet") << false << bookletPages;
    QTest::newRow("booklet printed") << QStringLiteral("Booklet") << true << bookletPages;
    QTest::newRow("answer sheet saved") << QStringLiteral("AnswerSheet") << false << 1;
    QTest::newRow("answer sheet printed") << QStringLiteral("AnswerSheet") << true << 1;
}

// Offered before any sheet is keyed; «Отмена» writes nothing, either choice gives every
// page on A4.
void TestAfterScoring::paperForAGroupBeforeAnySheet()
{
    QFETCH(QString, action);
    QFETCH(bool, printed);
    QFETCH(int, pages);
    auto *command = child<QAction>(action.toLatin1().constData());
    QVERIFY(command->isEnabled());
    const QStringList files = entriesOf(QDir::currentPath());
    command->trigger();
    QCOMPARE(m_dialogs.paperAskedAbout.size(), 1);
    QCOMPARE(entriesOf(QDir::currentPath()), files);

    const QString pdf = QDir::current().absoluteFilePath(QStringLiteral("paper.pdf"));
    if (printed) {
        m_dialogs.paperChoice = Dialogs::PaperChoice::Print;
        m_dialogs.printerFile = pdf;
    } else {
        m_dialogs.paperChoice = Dialogs::PaperChoice::SavePdf;
        m_dialogs.pdfPathAnswer = pdf;
    }
    command->trigger();
    QCOMPARE(m_dialogs.printDialogs, printed ? 1 : 0);
    QCOMPARE(m_dialogs.proposedPdfPaths,
             printed ? QStringList() : QStringList{QDir::current().absoluteFilePath(
                                           m_dialogs.paperAskedAbout.first() + QStringLiteral(".pdf"))});
    QVERIFY(m_dialogs.errorReports.isEmpty());
    const QString info = poppler::output(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("^Pages: +%1$").arg(pages),
                                              QRegularExpression::MultilineOption)),
             qPrintable(info));
    QVERIFY2(info.contains(QStringLiteral("(A4)")), qPrintable(info));
}

int main(int argc, char *argv[])
{
    return form_driver::execInRussianLocale<TestAfterScoring>(argc, argv);
}

#include "tst_after_scoring.moc"
