#pragma once
// The main window: the respondent data, the keying of the sheet and, at the end, the
// results. It owns the one sheet a program run keys.

#include "app/dialogs.h"
#include "review/review_dialogs.h"
#include "review/review_page.h"
#include "entry/sheet_entry.h"
#include "entry/verification.h"
#include "profile/profile_chart.h"
#include "results/regional_settings.h"
#include "results/first_keyings.h"
#include "results/report.h"
#include "results/response_quality.h"
#include "results/screen_session.h"
#include "results/session_journal.h"
#include "scoring/factors.h"

#include <QDateTime>
#include <QMainWindow>

#include <memory>
#include <optional>

namespace zorven {
struct PaperDocument;
class ProfileWindow;
}

namespace Ui {
class TForm1;
}
class TAboutBox;
class RespondentScreen;
class ClickableLabel;

class TForm1 : public QMainWindow, private zorven::SheetEntryView
{
    Q_OBJECT

public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // The about box that "О программе" shows; it is created after the main window.
    void setAboutBox(TAboutBox *aboutBox);

    const zorven::Sheet &sheet() const { return m_sheet; }
    const zorven::ProfileChart &chart() const { return *m_chart; }

    // Tests answer the error report and the save dialog through their own Dialogs.
    void setDialogs(Dialogs *dialogs) { m_dialogs = dialogs; }
    void setReviewDialogs(zorven::review::ReviewDialogs *dialogs) { m_reviewDialogs = dialogs; }

    // The review of scanned pages, once read (scan_commands.cpp): each sheet it settles is
    // scored here as a keyed one is.
    void reviewScannedPages(QList<zorven::review::ReviewPage> pages);

    // The outer size the window is given at start, unless its content needs more.
    static constexpr QSize kOuterSize{420, 345};
    // The area below the menu bar that the controls are placed in must be at least this
    // large: the results chart is 410 wide, the undo button reaches 290 down, and a margin
    // as wide as the answer group's left one stays free beside and below them.
    static constexpr QSize kMinimumContentSize{416, 296};

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    // Handlers, one per control and event.
    void FormCreate();
    void LEditChange();
    void ComboBox1Change();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void N2Click();
    void N3Click();
    void Label2Click();
    void SaveReportClick();
    // The Finished stage's commands for checking and filing the sheet (finished_commands.cpp).
    void SheetAnswersClick();
    void ShowProfileClick();
    void PrintProfileClick();
    void SaveProfilePdfClick();
    void N1AboutToShow();
    void OpenResultsTableClick();
    // Paper for testing a group, at any stage (paper_menu.cpp).
    void BookletClick();
    void AnswerSheetClick();
    // The road from one sheet to the next, and verification by keying twice
    // (stack_commands.cpp).
    void NewSheetClick();
    void VerifySheetClick();
    // Testing at the computer: the respondent's screen started and taken back
    // (screen_commands.cpp).
    void ScreenTestingClick();
    // Scanned sheets read and reviewed, and sheets printed for a group (scan_commands.cpp).
    void ReadScansClick();
    void GroupSheetsClick();
    void connectScanCommands();
    bool scoreSettledSheet(const zorven::review::SettledSheet &sheet);

    // The respondent data as the controls hold it; the results step reads it too.
    QString surname() const;
    QString sexText() const;
    int age() const override;

    // The last step of the scoring run, and the writing of its report.
    void resultsStep();
    bool saveReport(const QString &path);
    bool saveSheetReport(bool ownReportStands);
    QString freeReportName() const;
    bool reportSaved(int code, const QString &path);
    bool saveReportElsewhere();
    bool mayClose();
    void showReportLocation(const QString &path);
    void showReportNotWritten(const QString &path);
    bool keepResultsRow(const QDateTime &scoredAt, const QString &reportFileName);
    QString resultsTablePath() const;
    void enableOpenResultsTable();

    // The sheet scored again with corrected letters, by the same run and results step.
    void rescore(const zorven::KeyedOptions &options);
    QString profilePdfFileName() const;
    void printProfile(QWidget *over);
    void saveProfilePdf(QWidget *over);
    void showProfilePage();
    void connectFinishedCommands();
    void connectPaperCommands();
    void putOnPaper(const zorven::PaperDocument &document, const QString &what,
                    const QString &fileName);
    void offerFinishedCommands();

    bool mayDropSheet();
    void startNextSheet();
    void emptyResults();
    void connectStackCommands();
    QString stageTitle(zorven::Stage stage) const;
    void keyOption(int choice);
    void takeBackAnswer();
    bool startVerification();
    std::optional<zorven::TableSheet> firstKeyingOf(const QString &surname);
    QList<zorven::TableSheet> unverifiedSheetsOf(const QString &surname);
    static QString firstKeyingLabel(const zorven::TableSheet &sheet);
    void settleRespondentData();
    int settledOption(int q, int keyed);
    QString reportNameForSheet() const;
    bool showStandingReport();
    QString verificationMark() const;
    void summariseVerification();

    void connectScreenCommands();
    bool offerUnfinishedSessions();
    bool offerSession(const QString &path);
    void resumeSession(const zorven::JournalContents &contents,
                       std::unique_ptr<zorven::SessionJournal> journal);
    void showRespondentData(const zorven::SessionRespondent &respondent);
    void openScreen(const zorven::ScreenSession &session,
                    std::unique_ptr<zorven::SessionJournal> journal);
    void closeScreen();
    void screenAnsweredToTheEnd();
    void screenLeftEarly(bool sessionKept);
    void scoreScreenSession(const zorven::ScreenSession &session);
    void dropJournalOnceFiled();
    QString entryMethod() const;
    QString sessionMinutes() const;
    void showQualitySigns();
    void makeQualitySignsLabel();
    void QualitySignsClick();

    // zorven::SheetEntryView
    bool nameChangedByUser() const override;
    zorven::Sex sex() const override;
    void setAge(int age) override;
    void setAgeMaximum(int maximum) override;
    void enableNext() override;
    void showStatement(const zorven::StatementOnShow &statement) override;
    void setUndoButton(zorven::UndoButton state) override;
    void setStage(zorven::Stage stage) override;
    void startScoringRun() override;

    void hideResults();
    void connectHandlers();
    void applyLook();
    void fitToFrame();
    void fitOnceFrameIsKnown();

    std::unique_ptr<Ui::TForm1> ui;
    zorven::Sheet m_sheet;
    zorven::SheetEntry m_entry;
    zorven::ProfileChart *m_chart; // a child of the window
    zorven::RegionalSettings m_regional;
    Dialogs m_platformDialogs;
    Dialogs *m_dialogs = &m_platformDialogs;
    zorven::review::ReviewDialogs m_platformReviewDialogs;
    zorven::review::ReviewDialogs *m_reviewDialogs = &m_platformReviewDialogs;
    // The results table's «Способ ввода» of the sheet on screen: empty when keyed.
    QString m_entryMethod;
    // The report as the results step made it, kept for "Сохранить отчёт…".
    QByteArray m_report;
    QString m_reportFileName;
    // The report could not be written and no "Сохранить отчёт…" has succeeded since: the
    // results on screen are in no file.
    bool m_resultsUnsaved = false;
    // That the table keeps an older format is said once a run, not for every sheet.
    bool m_olderTableNoticeShown = false;
    // What the report was made of; the printed profile shows the same.
    zorven::ReportData m_reportData;
    TAboutBox *m_aboutBox = nullptr;
    // «Профиль…», made the first time it is asked for; a child of the window.
    zorven::ProfileWindow *m_profileWindow = nullptr;
    // «Проверочный ввод…» was chosen for the sheet on screen; the verification itself
    // starts at «Далее», once its first keying is found.
    bool m_verifying = false;
    std::optional<zorven::Verification> m_verification;
    zorven::TableSheet m_firstKeying;
    bool m_fittedToKnownFrame = false;

    // Testing at the computer: the screen while the respondent answers; then, until the
    // report and the row are written, the session's journal; and the answers' times, which
    // a keyed sheet does not have.
    RespondentScreen *m_screen = nullptr;
    // Over the chart's title bar: how the sheet was answered, in full on pointing or click.
    ClickableLabel *m_qualitySigns = nullptr;
    // How the sheet was answered; the printed profile shows the same.
    QList<zorven::QualitySign> m_qualitySignsList;
    std::unique_ptr<zorven::SessionJournal> m_journal;
    bool m_rowKept = false;
    std::optional<zorven::AnswerTimes> m_answerTimes;
    qint64 m_answeringMilliseconds = 0;
};
