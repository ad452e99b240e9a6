#pragma once
// The person's review of scanned sheets: page by page, only what the reader could not be
// sure of. First each doubtful or unmarked statement, its boxes enlarged beside its text,
// answered with 1, 2 or 3 (Backspace goes back one), never by a key typed ahead; then the
// written name enlarged above «Фамилия И.О.», with sex and age as read (their boxes shown
// when doubtful), and «Все ответы…» for the whole sheet laid out as the paper; «Далее» hands
// the settled sheet on to be scored as a keyed one is. A group sheet whose list gives the
// respondent and whose marks were all read is handed on without a key pressed. Pages that
// could not be read are named, with the reason, at the end.

#include "review/review_page.h"

#include <QDialog>
#include <QSet>

#include <array>
#include <functional>
#include <optional>

class AgeField;
class NameField;
class QComboBox;
class QLabel;
class QPushButton;
class QStackedWidget;
class TypedAheadGuard;

namespace zorven::review {

class ReviewDialogs;

class ScanReview : public QDialog
{
    Q_OBJECT

public:
    // Scores a settled sheet; false when it was not scored (the operator would not yet let
    // go of results on screen that are in no file), and the page stays for another «Далее».
    using Score = std::function<bool(const SettledSheet &sheet)>;

    ScanReview(QList<ReviewPage> pages, ReviewDialogs &dialogs, Score score, QWidget *parent = nullptr);

    // Walks to the first page that needs a person, handing on those that need nobody.
    void begin();

public slots:
    // Escape and the close box ask first while pages are left; then the summary shows.
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *makeStatementStep();
    QWidget *makeRespondentStep();
    QWidget *makeSummaryStep();
    void showStep(QWidget *step);

    void nextPage();
    void startPage();
    void showPageCaption();
    void showStatement();
    void fillRespondent();
    void showRespondent();
    static void showMarkToSettle(QLabel *label, const std::optional<MarkToSettle> &mark);
    void showSummary(bool stopped);

    void showAllAnswers();
    int settledStatements() const;
    void answer(int option);
    void back();
    void enableNext();
    void pressNext();
    bool settle(const SettledSheet &sheet);
    QWidget *firstMissingField() const;
    int pagesLeft() const;

    const ReviewPage &page() const { return m_pages[m_pageIndex]; }
    bool onStatements() const { return m_step < page().toSettle.size(); }

    QList<ReviewPage> m_pages;
    ReviewDialogs &m_dialogs;
    Score m_score;
    qsizetype m_pageIndex = -1;
    qsizetype m_step = 0; // a statement to settle, or toSettle.size() for the respondent
    KeyedOptions m_options; // the page's letters as settled so far
    QSet<int> m_corrected;  // statements read but changed by the person in «Все ответы…»

    int m_scored = 0;
    int m_scoredUntouched = 0;

    TypedAheadGuard *m_typedAhead;
    QLabel *m_pageCaption;
    QStackedWidget *m_steps;
    QWidget *m_statementStep;
    QWidget *m_respondentStep;
    QWidget *m_summaryStep;

    QLabel *m_statementCaption;
    QLabel *m_statementBoxes;
    QLabel *m_statementWhy;
    QLabel *m_statementText;
    std::array<QPushButton *, 3> m_optionButtons;
    QPushButton *m_statementBack;

    QLabel *m_nameImage;
    QLabel *m_groupNote;
    NameField *m_name;
    QComboBox *m_sex;
    QLabel *m_sexBoxes;
    AgeField *m_age;
    QLabel *m_ageBoxes;
    QPushButton *m_respondentBack;
    QPushButton *m_allAnswers;
    QPushButton *m_next;

    QLabel *m_summary;
};

} // namespace zorven::review
