#pragma once
// The modal questions the program puts to the operator, behind one seam so that tests can
// answer them without a dialog on screen.

#include <QString>
#include <QStringList>

class QPrinter;
class QWidget;

class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // The application's standard error report: a box captioned with the application
    // title, an error icon and an OK button.
    virtual void showErrorReport(QWidget *parent, const QString &message);
    // The same report for a report file that could not be written: first, in words, that
    // the report is not in the file, naming it; under it the error's text as it is, and
    // where the results can still go.
    virtual void showFileErrorReport(QWidget *parent, const QString &message, const QString &path);

    // Where "Сохранить отчёт…" writes the report; empty when the operator cancels.
    virtual QString askReportPath(QWidget *parent, const QString &proposedPath);

    // Closing while the results are in no file: save them first, quit all the same, or
    // stay.
    enum class UnsavedResultsChoice { Save, Quit, Stay };
    virtual UnsavedResultsChoice askAboutUnsavedResults(QWidget *parent);
    // Where "Сохранить профиль в PDF…" writes the profile page; empty when cancelled.
    virtual QString askProfilePdfPath(QWidget *parent, const QString &proposedPath);

    // The print dialog for a page to print, which sets up `printer`; false when cancelled.
    virtual bool askPrinter(QWidget *parent, QPrinter &printer);

    // «Буклет с вопросами…» and «Бланк ответов…»: print `what`, save it as PDF, or neither.
    enum class PaperChoice { Print, SavePdf, Cancel };
    virtual PaperChoice askPaperOutput(QWidget *parent, const QString &what);
    // Where the PDF of `what` is written; empty when cancelled.
    virtual QString askPaperPdfPath(QWidget *parent, const QString &what, const QString &proposedPath);

    // The results table could not take the sheet's row: the program's own warning, shown
    // after the results. True when the operator chooses to try the row again, as after
    // another copy of the program has let go of the table.
    virtual bool askToRetryResultsTable(QWidget *parent, const QString &message);
    // The row was added, but the table needed mending first (a torn last line ended).
    virtual void showResultsTableNotice(QWidget *parent, const QString &message);

    // "Открыть таблицу результатов": the table in the system's default program.
    virtual void openResultsTable(const QString &path);

    // A report of the same surname, sex and age as the sheet just keyed stands under its
    // name: true to replace it (the same sheet keyed again), false to keep it and save the
    // new report under the next number (another respondent).
    virtual bool askToReplaceReport(QWidget *parent, const QString &fileName);

    // «Новый бланк» while a sheet is being keyed, which would be lost: true to drop it.
    virtual bool askToDropSheetOnScreen(QWidget *parent);

    // A difference between the two keyings of a sheet: which choice the paper sheet shows,
    // keyed 1, 2, 3. Returns the chosen index from 0; the box cannot be dismissed without
    // a choice.
    struct PaperQuestion {
        QString text;
        QStringList choices;
    };
    virtual int askWhatThePaperShows(QWidget *parent, const PaperQuestion &question);

    // Several unverified keyings of the surname in the table: the index of the one this
    // paper sheet is, or -1 when the operator cancels.
    virtual int chooseFirstKeying(QWidget *parent, const QString &surname, const QStringList &sheets);

    // No first keying found for verification: true to key the sheet as a new one.
    virtual bool askToKeyAsNewSheet(QWidget *parent, const QString &message);

    // What the verification found, at its end.
    virtual void showVerificationSummary(QWidget *parent, const QString &summary);

    // An unfinished session on the respondent's screen was found: true to go on with it
    // («Продолжить тестирование»), false to leave it for later.
    virtual bool askToResumeSession(QWidget *parent, const QString &description);
    // How the sheet on screen was answered, in full.
    virtual void showQualitySigns(QWidget *parent, const QString &signs);
};
