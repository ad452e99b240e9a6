#include "administration/respondent_screen.h"

#include "administration/operator_questions.h"
#include "administration/screen_measures.h"
#include "questionnaire/instructions.h"
#include "questionnaire/statements.h"
#include "widgets/answer_grid.h"
#include "widgets/form_look.h"
#include "widgets/fresh_control_guard.h"
#include "widgets/light_palette.h"
#include "widgets/option_button.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QStyleFactory>
#include <QTimer>
#include <QVBoxLayout>

using namespace screen_measures;

const QKeySequence RespondentScreen::kLeaveKeys(Qt::CTRL | Qt::ALT | Qt::Key_Q);

namespace {

const QString kEndText = QStringLiteral("Спасибо! Тестирование окончено. Позовите, пожалуйста, проводящего.");
const char16_t *const kLetters[] = {u"a", u"b", u"c"};

// A line a reader's eye can follow: about 60 characters of the statement type.
constexpr int kColumnCharacters = 60;

QLabel *wrappedLabel(const QString &text, const QFont &font, const char *name, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(font);
    label->setWordWrap(true);
    return label;
}

// The page's content in a column of reading width, centred on the screen.
QWidget *centredColumn(QWidget *content)
{
    auto *page = new QWidget;
    auto *row = new QHBoxLayout(page);
    row->addStretch(1);
    row->addWidget(content, 1000); // as wide as it may be; the blanks beside share the rest
    row->addStretch(1);
    content->setMaximumWidth(QFontMetrics(fontOfPoints(kStatementPoints))
                                 .horizontalAdvance(QString(kColumnCharacters, u'о')));
    content->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    return page;
}

// One label for all paragraphs: its height follows its wrapped text, which a column of
// wrapped labels does not always get from its layout.
QString paragraphsText(const QStringList &paragraphs)
{
    QString html;
    for (const QString &paragraph : paragraphs)
        html += QStringLiteral("<p style=\"margin-bottom: 0.6em\">") + paragraph.toHtmlEscaped()
                + QStringLiteral("</p>");
    return html;
}

QString optionCaption(int q, int option)
{
    return QStringLiteral("%1) %2").arg(QString::fromUtf16(kLetters[option - 1]),
                                        zorven::optionText(3 * (q - 1) + option));
}

} // namespace

RespondentScreen::RespondentScreen(const zorven::ScreenSession &session,
                                   std::unique_ptr<zorven::SessionJournal> journal, QWidget *parent)
    : QWidget(parent, Qt::Window), m_session(session), m_journal(std::move(journal)),
      m_ownQuestions(std::make_unique<OperatorQuestions>())
{
    m_questions = m_ownQuestions.get();
    setObjectName(QStringLiteral("RespondentScreen"));
    setWindowTitle(QStringLiteral("Тест Зорвенна (Форма А)"));
    setFocusPolicy(Qt::StrongFocus);

    m_pages = new QStackedWidget(this);
    m_pages->addWidget(makeInstructionsPage());
    m_statementPage = makeStatementPage();
    m_pages->addWidget(m_statementPage);
    m_endPage = makeEndPage();
    m_pages->addWidget(m_endPage);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);

    useLightLookUnderAnyStyle();
    new look::LightWindows(this);
    new FreshControlGuard(this);
    auto *leave = new QShortcut(kLeaveKeys, this);
    connect(leave, &QShortcut::activated, this, [this] {
        if (askToLeave())
            close();
    });
    m_sinceLastPress.start();
}

RespondentScreen::~RespondentScreen() = default;

// Without a window manager nothing carries out the full-screen request, so the window is
// first given the whole screen itself.
void RespondentScreen::present()
{
    if (const QScreen *screen = this->screen())
        setGeometry(screen->geometry());
    showFullScreen();
    if (!(windowState() & Qt::WindowFullScreen))
        showMaximized();
    activateWindow();
}

std::unique_ptr<zorven::SessionJournal> RespondentScreen::takeJournal()
{
    return std::move(m_journal);
}

// A dark desktop style would draw the buttons dark whatever the palette says; the
// respondent's screen looks the same on every machine.
void RespondentScreen::useLightLookUnderAnyStyle()
{
    m_style.reset(QStyleFactory::create(QStringLiteral("Fusion")));
    if (!m_style)
        return;
    setStyle(m_style.get());
    for (QWidget *child : findChildren<QWidget *>())
        child->setStyle(m_style.get());
}

QWidget *RespondentScreen::makeInstructionsPage()
{
    auto *content = new QWidget;
    auto *column = new QVBoxLayout(content);
    column->addStretch(1);
    column->addWidget(wrappedLabel(QStringLiteral("Тест Зорвенна (Форма А)"),
                                   fontOfPoints(kEndPoints, true), "ScreenTitle", content));
    column->addSpacing(millimetresToPixels(screen(), 4));
    column->addWidget(wrappedLabel(zorven::kInstructionsHeading, fontOfPoints(kStatementPoints, true),
                                   "InstructionsHeading", content));
    column->addWidget(wrappedLabel(paragraphsText(zorven::instructionParagraphs(zorven::AnsweringMedium::Screen)),
                                   fontOfPoints(instructionPoints(screen())), "Instructions", content));
    if (m_session.statementOnShow() > 1)
        column->addWidget(wrappedLabel(
            QStringLiteral("Тестирование продолжается с утверждения %1 из %2.")
                .arg(m_session.statementOnShow())
                .arg(zorven::kStatementCount),
            fontOfPoints(kOptionPoints, true), "ResumedAt", content));
    column->addSpacing(millimetresToPixels(screen(), 6));
    auto *start = new QPushButton(QStringLiteral("Начать"), content);
    start->setObjectName(QStringLiteral("StartButton"));
    start->setFont(fontOfPoints(kOptionPoints, true));
    start->setMinimumHeight(millimetresToPixels(screen(), kButtonMillimetres));
    start->setMinimumWidth(millimetresToPixels(screen(), 60));
    start->setDefault(true);
    connect(start, &QPushButton::clicked, this, &RespondentScreen::begin);
    column->addWidget(start, 0, Qt::AlignHCenter);
    column->addStretch(1);
    return centredColumn(content);
}

QWidget *RespondentScreen::makeStatementPage()
{
    auto *content = new QWidget;
    auto *column = new QVBoxLayout(content);
    column->addStretch(1);
    m_progress = wrappedLabel({}, fontOfPoints(kCaptionPoints), "Progress", content);
    column->addWidget(m_progress);
    m_progressBar = new QProgressBar(content);
    m_progressBar->setObjectName(QStringLiteral("ProgressBar"));
    m_progressBar->setRange(0, zorven::kStatementCount);
    m_progressBar->setTextVisible(false);
    m_progressBar->setFixedHeight(millimetresToPixels(screen(), 3));
    column->addWidget(m_progressBar);
    column->addSpacing(millimetresToPixels(screen(), 8));
    // Four lines are kept for the statement, so the options stay in place from one
    // statement to the next.
    m_statement = wrappedLabel({}, fontOfPoints(kStatementPoints), "Statement", content);
    m_statement->setMinimumHeight(QFontMetrics(m_statement->font()).lineSpacing() * 4);
    m_statement->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    column->addWidget(m_statement);
    column->addSpacing(millimetresToPixels(screen(), 6));

    // An option takes two lines of its type on a narrow screen.
    const int optionHeight = std::max(millimetresToPixels(screen(), kButtonMillimetres),
                                      QFontMetrics(fontOfPoints(kOptionPoints)).lineSpacing() * 5 / 2);
    for (int option = 1; option <= 3; ++option) {
        auto *button = new OptionButton(content);
        button->setObjectName(QStringLiteral("Option%1").arg(option));
        button->setFont(fontOfPoints(kOptionPoints));
        button->setMinimumHeight(optionHeight);
        button->setCheckable(true);
        button->setFocusPolicy(Qt::NoFocus); // Space and Enter must not answer again
        connect(button, &QPushButton::clicked, this, [this, option] { pressOption(option); });
        m_options[std::size_t(option - 1)] = button;
        column->addWidget(button);
    }
    m_confirmation = wrappedLabel({}, fontOfPoints(kCaptionPoints), "Confirmation", content);
    m_confirmation->setMinimumHeight(QFontMetrics(m_confirmation->font()).lineSpacing() * 2);
    look::setLook(m_confirmation, m_confirmation->font(), look::kNavy);
    column->addWidget(m_confirmation);
    m_confirmationTimer = new QTimer(this);
    m_confirmationTimer->setSingleShot(true);
    m_confirmationTimer->setInterval(kConfirmationMilliseconds);
    connect(m_confirmationTimer, &QTimer::timeout, m_confirmation, &QLabel::clear);

    m_back = new QPushButton(QStringLiteral("Назад"), content);
    m_back->setObjectName(QStringLiteral("BackButton"));
    m_back->setFont(fontOfPoints(kCaptionPoints));
    m_back->setMinimumHeight(millimetresToPixels(screen(), kButtonMillimetres));
    m_back->setMinimumWidth(millimetresToPixels(screen(), 40));
    m_back->setFocusPolicy(Qt::NoFocus);
    connect(m_back, &QPushButton::clicked, this, &RespondentScreen::pressBack);
    column->addWidget(m_back, 0, Qt::AlignLeft);
    column->addStretch(2);
    return centredColumn(content);
}

QWidget *RespondentScreen::makeEndPage()
{
    auto *content = new QWidget;
    auto *column = new QVBoxLayout(content);
    column->addStretch(1);
    QLabel *thanks = wrappedLabel(kEndText, fontOfPoints(kEndPoints, true), "EndText", content);
    thanks->setAlignment(Qt::AlignCenter);
    column->addWidget(thanks);
    column->addStretch(1);
    return centredColumn(content);
}

void RespondentScreen::begin()
{
    if (m_session.isFinished())
        showEnd();
    else
        showStatement();
}

void RespondentScreen::pressOption(int option)
{
    if (m_pages->currentWidget() != m_statementPage || isSecondPress()) {
        markGivenAnswer(); // a dropped click leaves the buttons as they were
        return;
    }
    const int statement = m_session.statementOnShow();
    const qint64 milliseconds = m_onShow.elapsed();
    QString why;
    if (m_journal && !m_journal->appendAnswer(statement, option, milliseconds, &why)) {
        showJournalFailure(why);
        return;
    }
    m_session.answer(option, milliseconds);
    if (m_session.isFinished()) {
        showEnd();
        return;
    }
    showStatement();
    confirm(statement, option);
}

void RespondentScreen::pressBack()
{
    if (m_pages->currentWidget() != m_statementPage || m_session.statementOnShow() == 1 || isSecondPress())
        return;
    QString why;
    if (m_journal && !m_journal->appendBack(m_session.statementOnShow() - 1, &why)) {
        showJournalFailure(why);
        return;
    }
    m_session.back();
    showStatement();
    m_confirmation->clear();
}

bool RespondentScreen::isSecondPress() const
{
    return m_sinceLastPress.elapsed() < QApplication::doubleClickInterval();
}

// The guard's interval and the answer's time both start here, once the statement is in
// sight: the sync before it may have taken a while.
void RespondentScreen::showStatement()
{
    const int q = m_session.statementOnShow();
    m_progress->setText(QStringLiteral("Утверждение %1 из %2").arg(q).arg(zorven::kStatementCount));
    m_progressBar->setValue(q - 1);
    m_statement->setText(QStringLiteral("%1. %2").arg(q).arg(zorven::statementText(q)));
    for (int option = 1; option <= 3; ++option)
        m_options[std::size_t(option - 1)]->setText(optionCaption(q, option));
    markGivenAnswer();
    m_back->setEnabled(q > 1);
    m_pages->setCurrentWidget(m_statementPage);
    setFocus(); // the keys and the operator's combination come to the screen itself
    m_statementPage->repaint();
    m_onShow.start();
    m_sinceLastPress.start();
}

// A statement returned to with «Назад» shows the answer it was given.
void RespondentScreen::markGivenAnswer()
{
    const int given = m_session.isFinished() ? zorven::kNoOption
                                             : m_session.options().at(m_session.statementOnShow());
    for (int option = 1; option <= 3; ++option)
        m_options[std::size_t(option - 1)]->setChecked(option == given);
}

void RespondentScreen::showEnd()
{
    m_pages->setCurrentWidget(m_endPage);
    setFocus();
}

void RespondentScreen::confirm(int statement, int option)
{
    look::setLook(m_confirmation, m_confirmation->font(), look::kNavy);
    m_confirmation->setText(QStringLiteral("Ответ на утверждение %1 сохранён: %2")
                                .arg(statement)
                                .arg(optionCaption(statement, option)));
    m_confirmationTimer->start();
}

// The answer was not kept, so the statement stays; only the operator can help.
void RespondentScreen::showJournalFailure(const QString &why)
{
    QApplication::beep();
    m_confirmationTimer->stop();
    look::setLook(m_confirmation, m_confirmation->font(), look::kRed);
    m_confirmation->setText(QStringLiteral("Ответ не сохранён (%1). Позовите, пожалуйста, проводящего.").arg(why));
    markGivenAnswer();
}

// Keys answer as the buttons do: 1, 2, 3 or a, b, c (Cyrillic а, б, с too), and
// Backspace goes back. A key held down answers once.
void RespondentScreen::keyPressEvent(QKeyEvent *event)
{
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (!plain || event->isAutoRepeat() || m_pages->currentWidget() != m_statementPage) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Backspace) {
        pressBack();
        return;
    }
    const QString text = event->text();
    const int option = text.size() == 1 ? AnswerGrid::optionForCharacter(text[0]) : zorven::kNoOption;
    if (option != zorven::kNoOption)
        pressOption(option);
    else if (!text.isEmpty() && text[0].isPrint())
        QApplication::beep();
    event->accept();
}

void RespondentScreen::closeEvent(QCloseEvent *event)
{
    if (m_leaving || askToLeave())
        event->accept();
    else
        event->ignore();
}

// Asked once per leaving: the shortcut closes the window after its own question.
bool RespondentScreen::askToLeave()
{
    if (m_leaving)
        return true;
    if (m_session.isFinished()) {
        if (!m_questions->askToLeaveFinished(this))
            return stay();
        m_leaving = true;
        emit answeredToTheEnd();
        return true;
    }
    const OperatorQuestions::UnfinishedChoice choice =
        m_questions->askToLeaveUnfinished(this, m_session.answeredCount());
    if (choice == OperatorQuestions::UnfinishedChoice::Stay)
        return stay();
    m_leaving = true;
    emit leftEarly(choice == OperatorQuestions::UnfinishedChoice::Keep);
    return true;
}

// Without a window manager nothing gives the focus back once the question is gone; the
// respondent's keys and the operator's combination must reach the screen again.
bool RespondentScreen::stay()
{
    activateWindow();
    setFocus();
    return false;
}
