#pragma once
// The respondent's screen: testing at the computer. It fills the screen and has nothing of
// the operator's window: first the instructions and «Начать», then one statement at a time
// with its three options, «Назад» and the progress, and at the end a word of thanks and
// the request to call the operator. It shows no score, chart or report.
//
// Each answer is appended to the session journal, synced, before the next statement
// shows; an answer that cannot be kept is not taken, and the screen asks for the operator.
// A second press within the double-click interval of an answer is dropped, so a double
// click or a bounced key answers one statement only.
//
// Only the operator leaves it: Ctrl+Alt+Q, or closing the window, asks whether to leave
// (see OperatorQuestions). Before the end, leaving keeps the journal for later or drops
// it; after the end it hands the answers over to the main window for scoring.

#include "results/screen_session.h"
#include "results/session_journal.h"

#include <QElapsedTimer>
#include <QStyle>
#include <QKeySequence>
#include <QWidget>

#include <array>
#include <memory>

class OperatorQuestions;
class QLabel;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QTimer;

class RespondentScreen : public QWidget
{
    Q_OBJECT

public:
    // The operator's way out.
    static const QKeySequence kLeaveKeys;
    // How long the confirmation of an answer stays in sight.
    static constexpr int kConfirmationMilliseconds = 1500;

    // `session` is new, or read back from `journal` to go on where it stopped.
    RespondentScreen(const zorven::ScreenSession &session,
                     std::unique_ptr<zorven::SessionJournal> journal, QWidget *parent = nullptr);
    ~RespondentScreen() override;

    // Tests answer the operator's questions through their own.
    void setQuestions(OperatorQuestions *questions) { m_questions = questions; }

    // Full screen; a desktop that refuses it keeps the window maximised.
    void present();

    const zorven::ScreenSession &session() const { return m_session; }
    // The journal, for the main window to remove once the report and row are written.
    std::unique_ptr<zorven::SessionJournal> takeJournal();

signals:
    // The operator left after the last answer: the sheet is to be scored.
    void answeredToTheEnd();
    // The operator left before it; the journal is kept for later or already removed.
    void leftEarly(bool sessionKept);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *makeInstructionsPage();
    QWidget *makeStatementPage();
    QWidget *makeEndPage();
    void useLightLookUnderAnyStyle();

    void begin();
    void pressOption(int option);
    void pressBack();
    bool isSecondPress() const;
    void showStatement();
    void markGivenAnswer();
    void showEnd();
    void confirm(int statement, int option);
    void showJournalFailure(const QString &why);
    bool askToLeave();
    bool stay();

    zorven::ScreenSession m_session;
    std::unique_ptr<zorven::SessionJournal> m_journal;
    OperatorQuestions *m_questions;
    std::unique_ptr<OperatorQuestions> m_ownQuestions;
    std::unique_ptr<QStyle> m_style;

    QStackedWidget *m_pages = nullptr;
    QWidget *m_statementPage = nullptr;
    QWidget *m_endPage = nullptr;
    QLabel *m_progress = nullptr;
    QProgressBar *m_progressBar = nullptr;
    QLabel *m_statement = nullptr;
    std::array<QPushButton *, 3> m_options{};
    QPushButton *m_back = nullptr;
    QLabel *m_confirmation = nullptr;
    QTimer *m_confirmationTimer = nullptr;

    // Since the statement on show appeared: the answer's time.
    QElapsedTimer m_onShow;
    // Since the last answer or «Назад» took effect: the double-press guard.
    QElapsedTimer m_sinceLastPress;
    bool m_leaving = false;
};
