#include "review/scan_review.h"

#include "review/review_dialogs.h"
#include "widgets/age_field.h"
#include "widgets/answer_grid.h"
#include "widgets/form_look.h"
#include "widgets/name_field.h"
#include "widgets/option_button.h"
#include "widgets/typed_ahead_guard.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace zorven::review {

namespace {

const QString kTitle = QStringLiteral("Проверка сканов");
const std::array kSexItems = {Sex::Male, Sex::Female};
const char *const kOptionLetters[] = {"a", "b", "c"};

// How large the enlarged pictures may be: the boxes of a statement, the written name, and
// the sex or age boxes beside their fields.
constexpr QSize kStatementBoxesArea{600, 170};
constexpr QSize kNameArea{640, 150};
constexpr QSize kRespondentBoxesArea{460, 90};

void showImage(QLabel *label, const QImage &image, QSize area)
{
    if (image.isNull()) {
        label->clear();
        label->hide();
        return;
    }
    label->setPixmap(QPixmap::fromImage(
        image.scaled(area, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    label->show();
}

QLabel *imageLabel(const char *name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setFrameShape(QFrame::Box);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QLabel *textLabel(const char *name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    return label;
}

QPushButton *backButton(const char *name, QWidget *parent)
{
    auto *button = new QPushButton(QStringLiteral("← Назад"), parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

bool isEnter(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// A file that could not be opened at all has no page to name. The caption of the page on
// show names the file alone; the summary, which says what to look for, its whole path.
QString pagePlace(const ReviewPage &page, const QString &file)
{
    return page.page > 0 ? QStringLiteral("%1, страница %2").arg(file).arg(page.page) : file;
}

QString fileName(const ReviewPage &page)
{
    return QFileInfo(page.file).fileName();
}

QString filePath(const ReviewPage &page)
{
    return QDir::toNativeSeparators(page.file);
}

} // namespace

ScanReview::ScanReview(QList<ReviewPage> pages, ReviewDialogs &dialogs, Score score, QWidget *parent)
    : QDialog(parent), m_pages(std::move(pages)), m_dialogs(dialogs), m_score(std::move(score)),
      m_pageCaption(textLabel("ReviewPageCaption", this)), m_steps(new QStackedWidget(this))
{
    setObjectName(QStringLiteral("ScanReview"));
    setWindowTitle(kTitle);
    setFont(look::platformFont("QDialog"));
    m_pageCaption->setFont(look::formFont(13, look::Weight::Bold));

    m_statementStep = makeStatementStep();
    m_respondentStep = makeRespondentStep();
    m_summaryStep = makeSummaryStep();
    for (QWidget *step : {m_statementStep, m_respondentStep, m_summaryStep})
        m_steps->addWidget(step);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_pageCaption);
    layout->addWidget(m_steps, 1);
    m_typedAhead = new TypedAheadGuard(this);
    setMinimumWidth(kNameArea.width() + 60);
}

QWidget *ScanReview::makeStatementStep()
{
    auto *step = new QWidget;
    step->setObjectName(QStringLiteral("StatementStep"));
    m_statementCaption = textLabel("StatementCaption", step);
    m_statementBoxes = imageLabel("StatementBoxes", step);
    m_statementWhy = textLabel("StatementWhy", step);
    m_statementText = textLabel("StatementText", step);
    look::setLook(m_statementText, look::namedFont(QStringLiteral("Arial"), 15, look::Weight::Bold),
                  look::kNavy);
    m_statementBack = backButton("StatementBack", step);

    auto *layout = new QVBoxLayout(step);
    layout->addWidget(m_statementCaption);
    layout->addWidget(m_statementBoxes);
    layout->addWidget(m_statementWhy);
    layout->addWidget(m_statementText);
    for (int i = 0; i < 3; ++i) {
        auto *button = new OptionButton(step);
        button->setObjectName(QStringLiteral("ReviewOption%1").arg(i + 1));
        button->setCheckable(true);
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::NoFocus); // 1, 2, 3 answer; Space and Enter do not
        button->setMinimumHeight(2 * button->fontMetrics().lineSpacing() + 8);
        connect(button, &QPushButton::clicked, this, [this, i] { answer(i + 1); });
        m_optionButtons[i] = button;
        layout->addWidget(button);
    }
    layout->addStretch();
    layout->addWidget(m_statementBack, 0, Qt::AlignLeft);
    connect(m_statementBack, &QPushButton::clicked, this, &ScanReview::back);
    return step;
}

QWidget *ScanReview::makeRespondentStep()
{
    auto *step = new QWidget;
    step->setObjectName(QStringLiteral("RespondentStep"));
    m_nameImage = imageLabel("NameImage", step);
    m_nameImage->setAccessibleName(QStringLiteral("Фамилия, написанная на бланке"));
    m_groupNote = textLabel("GroupNote", step);
    look::setLook(m_groupNote, font(), look::kMaroon);
    m_name = new NameField(step);
    m_name->setObjectName(QStringLiteral("ReviewName"));
    m_name->setMinimumWidth(kRespondentBoxesArea.width());
    m_sex = new QComboBox(step);
    m_sex->setObjectName(QStringLiteral("ReviewSex"));
    m_sex->setPlaceholderText(QStringLiteral("не прочитан"));
    for (const Sex sex : kSexItems)
        m_sex->addItem(sexTextOf(sex));
    m_sexBoxes = imageLabel("SexBoxes", step);
    m_sexBoxes->setAccessibleName(QStringLiteral("Квадраты пола на скане"));
    m_age = new AgeField(step);
    m_age->setObjectName(QStringLiteral("ReviewAge"));
    m_age->setMinimum(kMinimumAge);
    m_age->setMinimumWidth(m_age->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 30);
    m_ageBoxes = imageLabel("AgeBoxes", step);
    m_ageBoxes->setAccessibleName(QStringLiteral("Возраст на скане"));
    m_respondentBack = backButton("RespondentBack", step);
    m_next = new QPushButton(QStringLiteral("Далее"), step);
    m_next->setObjectName(QStringLiteral("ReviewNext"));
    m_next->setAutoDefault(false);

    // A doubted mark's boxes show under its field, and only then.
    auto *fields = new QFormLayout;
    fields->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    fields->addRow(QStringLiteral("Фамилия И.О."), m_name);
    fields->addRow(QStringLiteral("Пол"), m_sex);
    fields->addRow(QString(), m_sexBoxes);
    fields->addRow(QStringLiteral("Возраст"), m_age);
    fields->addRow(QString(), m_ageBoxes);
    auto *buttons = new QHBoxLayout;
    m_allAnswers = new QPushButton(QStringLiteral("Все ответы…"), step);
    m_allAnswers->setObjectName(QStringLiteral("ReviewAllAnswers"));
    m_allAnswers->setAutoDefault(false);
    buttons->addWidget(m_respondentBack);
    buttons->addStretch();
    buttons->addWidget(m_allAnswers);
    buttons->addWidget(m_next);

    auto *layout = new QVBoxLayout(step);
    layout->addWidget(m_nameImage);
    layout->addWidget(m_groupNote);
    layout->addLayout(fields);
    layout->addStretch();
    layout->addLayout(buttons);

    for (QWidget *field : std::initializer_list<QWidget *>{m_name, m_sex, m_age})
        field->installEventFilter(this);
    connect(m_name, &QLineEdit::textChanged, this, &ScanReview::enableNext);
    connect(m_age, &AgeField::editingFinished, this, &ScanReview::enableNext);
    connect(m_age->findChild<QLineEdit *>(), &QLineEdit::textChanged, this, &ScanReview::enableNext);
    connect(m_sex, &QComboBox::currentIndexChanged, this, [this](int item) {
        if (item >= 0)
            m_age->setMaximum(maximumAgeFor(kSexItems[item]).value_or(kMaleMaximumAge));
        enableNext();
    });
    connect(m_respondentBack, &QPushButton::clicked, this, &ScanReview::back);
    connect(m_allAnswers, &QPushButton::clicked, this, &ScanReview::showAllAnswers);
    connect(m_next, &QPushButton::clicked, this, &ScanReview::pressNext);
    return step;
}

QWidget *ScanReview::makeSummaryStep()
{
    auto *step = new QWidget;
    step->setObjectName(QStringLiteral("SummaryStep"));
    m_summary = textLabel("ReviewSummary", step);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *close = new QPushButton(QStringLiteral("Закрыть"), step);
    close->setObjectName(QStringLiteral("ReviewClose"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(step);
    layout->addWidget(m_summary);
    layout->addStretch();
    layout->addWidget(close, 0, Qt::AlignRight);
    return step;
}

// Each step is a new question in the same box: a key meant for the one before never
// answers it.
void ScanReview::showStep(QWidget *step)
{
    m_steps->setCurrentWidget(step);
    m_typedAhead->startAgain();
}

void ScanReview::begin()
{
    nextPage();
}

// Failed pages wait for the summary; a group sheet that needs nobody is handed on at once.
void ScanReview::nextPage()
{
    while (++m_pageIndex < m_pages.size()) {
        if (!page().wasRead())
            continue;
        if (!page().needsNobody()) {
            startPage();
            return;
        }
        const GroupMember &member = *page().member;
        if (!settle({member.surname, member.sex, member.age, page().options, 0})) {
            startPage();
            return;
        }
        ++m_scoredUntouched;
    }
    showSummary(false);
}

void ScanReview::startPage()
{
    m_options = page().options;
    m_corrected.clear();
    m_step = 0;
    showPageCaption();
    fillRespondent();
    if (onStatements())
        showStatement();
    else
        showRespondent();
}

void ScanReview::showPageCaption()
{
    m_pageCaption->setText(QStringLiteral("Страница %1 из %2: %3")
                               .arg(m_pageIndex + 1)
                               .arg(m_pages.size())
                               .arg(pagePlace(page(), fileName(page()))));
    m_pageCaption->setToolTip(filePath(page()));
}

void ScanReview::showStatement()
{
    const StatementToSettle &statement = page().toSettle[m_step];
    const int q = statement.statement;
    m_statementCaption->setText(QStringLiteral("Утверждение № %1 — отметка %2 из %3, которую "
                                               "программа не прочитала уверенно")
                                    .arg(q)
                                    .arg(m_step + 1)
                                    .arg(page().toSettle.size()));
    showImage(m_statementBoxes, statement.mark.boxes, kStatementBoxesArea);
    m_statementBoxes->setAccessibleName(QStringLiteral("Квадраты утверждения № %1 на скане").arg(q));
    m_statementWhy->setText(QStringLiteral("Почему: ") + statement.mark.why);
    m_statementText->setText(statementText(q));
    for (int option = 1; option <= 3; ++option) {
        QPushButton *button = m_optionButtons[option - 1];
        button->setText(QStringLiteral("%1:  %2) %3")
                            .arg(option)
                            .arg(QLatin1String(kOptionLetters[option - 1]),
                                 optionText(3 * (q - 1) + option)));
        button->setChecked(m_options.at(q) == option);
    }
    m_statementBack->setEnabled(m_step > 0);
    showStep(m_statementStep);
    m_statementStep->setFocus();
}

// Filled once per page, so that a surname typed before going back to a statement stays.
void ScanReview::fillRespondent()
{
    const ReviewPage &current = page();
    showImage(m_nameImage, current.nameField, kNameArea);
    m_name->startAgain();
    m_sex->setCurrentIndex(-1);
    m_age->setMaximum(kMaleMaximumAge);
    m_age->clear();
    const GroupMember read{QString(), current.sex, current.age.value_or(0)};
    const GroupMember &shown = current.member ? *current.member : read;
    m_name->setText(shown.surname);
    if (shown.sex != Sex::None)
        m_sex->setCurrentIndex(shown.sex == Sex::Male ? 0 : 1);
    if (current.member || current.age)
        m_age->setValue(shown.age);
    m_groupNote->setText(current.member ? QStringLiteral("Бланк группы, строка %1 списка.").arg(current.groupRow)
                                        : current.groupProblem);
    m_groupNote->setVisible(!m_groupNote->text().isEmpty());
    showMarkToSettle(m_sexBoxes, current.member ? std::nullopt : current.sexMark);
    showMarkToSettle(m_ageBoxes, current.member ? std::nullopt : current.ageMark);
    m_respondentBack->setEnabled(!current.toSettle.isEmpty());
}

void ScanReview::showRespondent()
{
    enableNext();
    showStep(m_respondentStep);
    m_name->setFocus();
}

// The boxes of a sex or an age the reader doubted, whose field stays empty for the person.
void ScanReview::showMarkToSettle(QLabel *label, const std::optional<MarkToSettle> &mark)
{
    showImage(label, mark ? mark->boxes : QImage(), kRespondentBoxesArea);
    label->setToolTip(mark ? mark->why : QString());
}

void ScanReview::showSummary(bool stopped)
{
    QStringList lines;
    lines << (stopped ? QStringLiteral("Проверка прервана. Не проверено страниц: %1.").arg(pagesLeft())
                      : QStringLiteral("Проверка сканов закончена."));
    lines << QStringLiteral("Страниц: %1. Оценено бланков: %2, из них без единого нажатия: %3.")
                 .arg(m_pages.size())
                 .arg(m_scored)
                 .arg(m_scoredUntouched);
    if (m_scored > 0)
        lines << QStringLiteral("Отчёты и строки таблицы результатов — в папке %1.")
                     .arg(QDir::toNativeSeparators(QDir::currentPath()));
    QStringList failed;
    for (const ReviewPage &each : std::as_const(m_pages))
        if (!each.wasRead())
            failed << QStringLiteral("%1: %2").arg(pagePlace(each, filePath(each)), each.failure);
    if (!failed.isEmpty())
        lines << QString() << QStringLiteral("Не прочитаны (%1):").arg(failed.size()) << failed;
    m_pageCaption->setText(kTitle);
    m_pageCaption->setToolTip({});
    m_summary->setText(lines.join(u'\n'));
    m_pageIndex = m_pages.size();
    showStep(m_summaryStep);
}

// The whole sheet as read and settled, laid out as the paper sheet, for a person who
// wants to compare it with the paper: an answer changed there counts as settled by them.
void ScanReview::showAllAnswers()
{
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("ReviewAnswers"));
    dialog.setWindowTitle(QStringLiteral("Ответы скана"));
    auto *note = new QLabel(QStringLiteral("Ответы, прочитанные программой и указанные вами. Ответ "
                                           "меняется щелчком по его букве или клавишами a, b, c "
                                           "(1, 2, 3); изменённые выделены жёлтым."),
                            &dialog);
    note->setWordWrap(true);
    auto *grid = new AnswerGrid(m_options);
    grid->setObjectName(QStringLiteral("ReviewAnswerGrid"));
    auto *scroller = new QScrollArea(&dialog);
    scroller->setWidget(grid);
    scroller->setAlignment(Qt::AlignHCenter);
    scroller->setFrameShape(QFrame::NoFrame);
    auto *buttons = new QDialogButtonBox(&dialog);
    QPushButton *take = buttons->addButton(QStringLiteral("Принять"), QDialogButtonBox::AcceptRole);
    take->setObjectName(QStringLiteral("TakeAnswers"));
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    for (QAbstractButton *button : buttons->buttons())
        static_cast<QPushButton *>(button)->setAutoDefault(false); // Enter among the cells takes nothing
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(note);
    layout->addWidget(scroller, 1);
    layout->addWidget(buttons);
    // The whole grid where the screen has room for it; on a small one it scrolls.
    const QSize room = screen()->availableGeometry().size() * 0.9;
    dialog.resize((grid->sizeHint() + QSize(4 * layout->contentsMargins().left(), 0)
                   + QSize(0, note->sizeHint().height() + buttons->sizeHint().height() + 60))
                      .boundedTo(room));
    grid->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return;
    for (int q = 1; q <= kStatementCount; ++q)
        if (grid->isChanged(q))
            m_corrected.insert(q);
    m_options = grid->options();
}

// The statements a person answered: those the reader left to them, and any they changed.
int ScanReview::settledStatements() const
{
    QSet<int> settled = m_corrected;
    for (const StatementToSettle &statement : page().toSettle)
        settled.insert(statement.statement);
    return int(settled.size());
}

void ScanReview::answer(int option)
{
    if (!onStatements())
        return;
    m_options.set(page().toSettle[m_step].statement, option);
    ++m_step;
    if (onStatements())
        showStatement();
    else
        showRespondent();
}

void ScanReview::back()
{
    if (m_step == 0)
        return;
    --m_step;
    showStatement();
}

void ScanReview::enableNext()
{
    m_next->setEnabled(!firstMissingField());
}

QWidget *ScanReview::firstMissingField() const
{
    if (m_name->text().trimmed().isEmpty())
        return m_name;
    if (m_sex->currentIndex() < 0)
        return m_sex;
    if (m_age->text().isEmpty())
        return m_age;
    return nullptr;
}

// Enter anywhere on the respondent step: «Далее», or a beep and the field still missing.
void ScanReview::pressNext()
{
    if (QWidget *missing = firstMissingField()) {
        QApplication::beep();
        missing->setFocus();
        return;
    }
    const Sex sex = kSexItems[m_sex->currentIndex()];
    const int age = std::clamp(m_age->value(), kMinimumAge, *maximumAgeFor(sex));
    if (settle({m_name->text(), sex, age, m_options, settledStatements()}))
        nextPage();
}

bool ScanReview::settle(const SettledSheet &sheet)
{
    if (!m_score(sheet))
        return false;
    ++m_scored;
    return true;
}

int ScanReview::pagesLeft() const
{
    int left = 0;
    for (qsizetype i = std::max<qsizetype>(m_pageIndex, 0); i < m_pages.size(); ++i)
        left += m_pages[i].wasRead();
    return left;
}

void ScanReview::reject()
{
    if (m_steps->currentWidget() == m_summaryStep) {
        QDialog::reject();
        return;
    }
    if (m_dialogs.askToStopReview(this, pagesLeft()))
        showSummary(true);
}

void ScanReview::keyPressEvent(QKeyEvent *event)
{
    if (m_steps->currentWidget() == m_statementStep && event->key() != Qt::Key_Escape) {
        event->accept();
        if (event->isAutoRepeat())
            return; // a held key settles one statement only
        if (event->key() == Qt::Key_Backspace) {
            back();
            return;
        }
        const int option = event->text().size() == 1 ? AnswerGrid::optionForCharacter(event->text().front())
                                                     : kNoOption;
        if (option != kNoOption)
            answer(option);
        return;
    }
    if (m_steps->currentWidget() == m_respondentStep && isEnter(event)) {
        pressNext();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool ScanReview::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent *>(event))) {
        pressNext();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace zorven::review
