// The main window's road through a stack of sheets: «Новый бланк» starts the next sheet
// in the same window, and «Проверочный ввод…» keys a sheet a second time, blind, stopping
// at every difference from its first keying in the results table.

#include "widgets/name_field.h"
#include "app/zorven.h"
#include "profile/profile_window.h"
#include "questionnaire/statements.h"
#include "results/report_file.h"
#include "results/report_naming.h"
#include "results/results_table.h"
#include "ui_zorven.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>

namespace {

// How long the lookup of a first keying may take before the pointer shows it is busy.
constexpr qint64 kBusyCursorAfterMilliseconds = 500;

const QString kVerifyingTitle = QStringLiteral(" — проверочный ввод");

const char *const kOptionLetters[] = {"a", "b", "c"};

QString optionChoice(int q, int option)
{
    return QStringLiteral("%1) %2").arg(QLatin1String(kOptionLetters[option - 1]),
                                        zorven::optionText(3 * (q - 1) + option));
}

// The statements that differed, as the summary lists them.
QString statementList(const QList<int> &statements)
{
    QStringList numbers;
    for (const int q : statements)
        numbers << QString::number(q);
    return numbers.join(QStringLiteral(", "));
}

} // namespace

void TForm1::connectStackCommands()
{
    connect(ui->NewSheet, &QAction::triggered, this, &TForm1::NewSheetClick);
    connect(ui->VerifySheet, &QAction::triggered, this, &TForm1::VerifySheetClick);
}

void TForm1::NewSheetClick()
{
    if (mayDropSheet())
        startNextSheet();
}

// A sheet half keyed would be lost, and so would results that are in no file; a sheet
// whose report is written, or whose respondent data is only begun, goes without a word.
bool TForm1::mayDropSheet()
{
    if (m_entry.isKeying())
        return m_dialogs->askToDropSheetOnScreen(this);
    return mayClose();
}

// Everything the sheet before left goes, in the window and in the program: the next sheet
// starts as the first one did at start-up.
void TForm1::startNextSheet()
{
    m_sheet = {};
    m_reportData = {};
    m_report.clear();
    m_reportFileName.clear();
    m_resultsUnsaved = false;
    m_verifying = false;
    m_verification.reset();
    m_firstKeying = {};
    m_journal.reset(); // a journal not yet filed stays in the folder for the next start
    m_rowKept = false;
    m_answerTimes.reset();
    m_answeringMilliseconds = 0;
    m_qualitySignsList.clear();
    m_entryMethod.clear();

    ui->LEdit->startAgain();
    ui->ComboBox1->setCurrentIndex(-1);
    ui->SpinEdit1->setMaximum(zorven::kMaleMaximumAge);
    ui->SpinEdit1->setValue(zorven::kMinimumAge);
    ui->Button4->setEnabled(false);
    emptyResults();
    ui->LEdit->setFocus();
    m_entry.start();
}

void TForm1::emptyResults()
{
    m_chart->series(0).clear();
    for (QLabel *label : {ui->RzLabel1, ui->RzLabel2, ui->RzLabel3, ui->RzLabel4})
        label->clear();
    ui->Label2->setText(QStringLiteral("Результаты тестирования находятся в файле - "));
    ui->Label2->setToolTip({});
    for (QAction *command : {ui->SaveReport, ui->SheetAnswers, ui->ShowProfile, ui->PrintProfile,
                             ui->SaveProfilePdf})
        command->setEnabled(false);
    if (m_profileWindow)
        m_profileWindow->hide();
}

QString TForm1::stageTitle(zorven::Stage stage) const
{
    if (stage == zorven::Stage::OnScreen)
        return QStringLiteral("Тест Зорвенна (Форма А) — тестирование на экране");
    const QString title = stage == zorven::Stage::RespondentData
                              ? QStringLiteral("Тест Зорвенна (Форма А) - Заполнение анекты")
                              : QStringLiteral("Тест Зорвенна (Форма А)");
    return m_verifying ? title + kVerifyingTitle : title;
}

// Only the title tells the operator that this keying is a verification: nothing on
// screen shows the first keying before a difference stops them.
void TForm1::VerifySheetClick()
{
    if (!m_entry.isKeying() && !m_entry.isFinished() && !m_verifying) {
        m_verifying = true;
        setWindowTitle(stageTitle(zorven::Stage::RespondentData));
    }
    ui->LEdit->setFocus();
}

void TForm1::keyOption(int choice)
{
    if (m_verification && m_entry.isKeying())
        choice = settledOption(m_entry.statementNumber(), choice);
    m_entry.optionPressed(choice);
}

void TForm1::takeBackAnswer()
{
    if (m_verification && m_entry.isKeying() && m_entry.undoButton() == zorven::UndoButton::Available)
        m_verification->takeBack(m_entry.statementNumber() - 1);
    m_entry.undoPressed();
}

// False keeps the window at the respondent data: the surname is to be corrected, or the
// operator cancelled the choice between several sheets.
bool TForm1::startVerification()
{
    const std::optional<zorven::TableSheet> first = firstKeyingOf(surname());
    if (!first) {
        const QString message =
            QStringLiteral("В таблице результатов «%1» нет непроверенного бланка с фамилией «%2».")
                .arg(zorven::kResultsTableFileName, surname().simplified());
        if (!m_dialogs->askToKeyAsNewSheet(this, message))
            return false;
        m_verifying = false;
        setWindowTitle(stageTitle(zorven::Stage::RespondentData));
        return true;
    }
    m_firstKeying = *first;
    m_verification.emplace(zorven::KeyedSheet{first->sex, first->age, first->options});
    settleRespondentData();
    return true;
}

std::optional<zorven::TableSheet> TForm1::firstKeyingOf(const QString &name)
{
    const QList<zorven::TableSheet> sheets = unverifiedSheetsOf(name);
    if (sheets.size() <= 1)
        return sheets.isEmpty() ? std::nullopt : std::optional(sheets.front());
    QStringList choices;
    for (const zorven::TableSheet &sheet : sheets)
        choices << firstKeyingLabel(sheet);
    const int chosen = m_dialogs->chooseFirstKeying(this, name.simplified(), choices);
    return chosen >= 0 && chosen < sheets.size() ? std::optional(sheets[chosen]) : std::nullopt;
}

// A long table takes a while to read: past half a second the pointer says so.
QList<zorven::TableSheet> TForm1::unverifiedSheetsOf(const QString &name)
{
    QElapsedTimer reading;
    reading.start();
    bool busy = false;
    const QList<zorven::TableSheet> sheets =
        zorven::unverifiedSheetsInFile(resultsTablePath(), name, [&] {
            if (!busy && reading.elapsed() >= kBusyCursorAfterMilliseconds) {
                busy = true;
                QApplication::setOverrideCursor(Qt::WaitCursor);
                QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            }
        });
    if (busy)
        QApplication::restoreOverrideCursor();
    return sheets;
}

// Namesakes keyed within one minute, of one sex and age, still differ here: by the second,
// the table's line and the report file.
QString TForm1::firstKeyingLabel(const zorven::TableSheet &sheet)
{
    QString label = QStringLiteral("%1, %2, %3 лет, строка %4")
                        .arg(QLocale().toString(sheet.scoredAt, QStringLiteral("dd.MM.yyyy HH:mm:ss")),
                             zorven::sexTextOf(sheet.sex))
                        .arg(sheet.age)
                        .arg(sheet.line);
    if (!sheet.reportFileName.isEmpty())
        label += QStringLiteral(", отчёт «%1»").arg(sheet.reportFileName);
    return label;
}

// Sex and age decide the norm table, so a difference in either stops the operator before
// the first statement. The first keying's spelling of the surname stands.
void TForm1::settleRespondentData()
{
    const zorven::KeyedSheet &first = m_verification->first();
    const zorven::Sex secondSex = sex();
    zorven::Sex sexOnPaper = secondSex;
    if (m_verification->sexDiffers(secondSex)) {
        QApplication::beep();
        const int chosen = m_dialogs->askWhatThePaperShows(
            this, {QStringLiteral("Пол при первом вводе: %1, при втором: %2.\n\nЧто указано "
                                  "на бумажном бланке?")
                       .arg(zorven::sexTextOf(first.sex), zorven::sexTextOf(secondSex)),
                   {zorven::sexTextOf(zorven::Sex::Male), zorven::sexTextOf(zorven::Sex::Female)}});
        sexOnPaper = chosen == 0 ? zorven::Sex::Male : zorven::Sex::Female;
        ui->ComboBox1->setCurrentIndex(chosen);
    }
    m_verification->settleSex(secondSex, sexOnPaper);

    const int maximum = zorven::maximumAgeFor(sexOnPaper).value_or(zorven::kMaleMaximumAge);
    const int keyedAge = age();
    const int secondAge = std::clamp(keyedAge, zorven::kMinimumAge, maximum);
    int ageOnPaper = secondAge;
    if (m_verification->ageDiffers(secondAge)) {
        QApplication::beep();
        // The ages as keyed: a value the limit pulled is named beside its own text, so that
        // the box never shows an age nobody typed.
        QString text = QStringLiteral("Возраст при первом вводе: %1, при втором: %2.").arg(first.age).arg(keyedAge);
        if (keyedAge != secondAge)
            text += QStringLiteral("\nПри поле «%1» возраст от %2 до %3: %4 будет взят как %5.")
                        .arg(zorven::sexTextOf(sexOnPaper))
                        .arg(zorven::kMinimumAge)
                        .arg(maximum)
                        .arg(keyedAge)
                        .arg(secondAge);
        text += QStringLiteral("\n\nЧто указано на бумажном бланке?");
        const int chosen = m_dialogs->askWhatThePaperShows(
            this, {text, {QString::number(first.age), QString::number(keyedAge)}});
        ageOnPaper = std::clamp(chosen == 0 ? first.age : secondAge, zorven::kMinimumAge, maximum);
    }
    m_verification->settleAge(secondAge, ageOnPaper);
    setAge(ageOnPaper);
    ui->LEdit->setText(m_firstKeying.surname);
}

// Statement q keyed the second time: a difference stops the operator with a beep and asks
// what the paper shows; after a run of them, the box says where the run began.
int TForm1::settledOption(int q, int keyed)
{
    const std::optional<zorven::AnswerDifference> difference = m_verification->compare(q, keyed);
    int onPaper = keyed;
    if (difference) {
        QString text = QStringLiteral("Утверждение № %1\n«%2»\n\nПервый ввод: %3\nВторой ввод: %4")
                           .arg(q)
                           .arg(zorven::statementText(q), optionChoice(q, difference->first),
                                optionChoice(q, difference->second));
        if (difference->looksShifted())
            text += QStringLiteral("\n\nОтветы различаются %1 раза подряд, начиная с утверждения №\u00A0%2: "
                                   "возможно, утверждение пропущено или введено дважды.")
                        .arg(difference->runLength)
                        .arg(difference->runStart);
        text += QStringLiteral("\n\nКакой ответ отмечен на бумажном бланке?");
        QApplication::beep();
        onPaper = 1 + m_dialogs->askWhatThePaperShows(
                          this, {text, {optionChoice(q, 1), optionChoice(q, 2), optionChoice(q, 3)}});
    }
    m_verification->settle(q, onPaper);
    return onPaper;
}

// A verified sheet replaces its own first keying's report; any other sheet is named by the
// namesake rule, and so is one whose first keying's row names anything but a plain file in
// this folder (a hand edit of the table must not make the report land elsewhere).
QString TForm1::reportNameForSheet() const
{
    if (m_verification && zorven::isPlainReportFileName(m_firstKeying.reportFileName))
        return m_firstKeying.reportFileName;
    return zorven::reportNameInFolder(QDir::current(), zorven::reportFileName(surname()), m_report);
}

// A verification that changed nothing leaves the first keying's report as it is, and the
// line under the results names it; false when the report is to be written.
bool TForm1::showStandingReport()
{
    if (!m_verification || m_verification->corrections() > 0 || m_reportFileName.isEmpty()
        || !QFileInfo(QDir::current().filePath(m_reportFileName)).isFile())
        return false;
    showReportLocation(m_reportFileName);
    return true;
}

QString TForm1::verificationMark() const
{
    return m_verification ? zorven::verifiedWithCorrections(m_verification->corrections()) : QString();
}

void TForm1::summariseVerification()
{
    const QList<int> differing = m_verification->differingStatements();
    QString summary = QStringLiteral("Проверочный ввод закончен.\n\nСравнено ответов: %1.\nРазличались: %2")
                          .arg(m_verification->answersCompared())
                          .arg(differing.size());
    if (!differing.isEmpty())
        summary += QStringLiteral("; номера утверждений: %1").arg(statementList(differing));
    summary += QStringLiteral(".\nРазличались анкетные данные: %1.").arg(m_verification->differingRespondentFields());
    const int corrections = m_verification->corrections();
    summary += corrections == 0
                   ? QStringLiteral("\n\nПервый ввод подтверждён.")
                   : QStringLiteral("\n\nИсправлено по бланку: %1. Результаты подсчитаны заново, "
                                    "отчёт записан заново.").arg(corrections);
    m_verification.reset();
    m_verifying = false;
    setWindowTitle(stageTitle(zorven::Stage::Finished));
    m_dialogs->showVerificationSummary(this, summary);
}
