#include "app/answers_dialog.h"

#include "app/answer_grid.h"
#include "app/form_look.h"
#include "questionnaire/statements.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Ответы бланка");
const QString kHeader = QStringLiteral(
    "Сверьте ответы с бумажным бланком. Ответ меняется щелчком по его букве или клавишами "
    "a, b, c (1, 2, 3) у выбранного утверждения; стрелки переходят между утверждениями. "
    "Изменённые ответы выделены жёлтым.\n"
    "«Пересчитать» подсчитает результаты заново, запишет отчёт заново и добавит в таблицу "
    "результатов новую строку. Она заменяет прежнюю строку этого бланка; прежняя остаётся "
    "в таблице как история.");
const QString kRescore = QStringLiteral("Пересчитать");
const QString kCancel = QStringLiteral("Отмена");

} // namespace

AnswersDialog::AnswersDialog(const zorven::KeyedOptions &keyed, QWidget *parent)
    : QDialog(parent), m_grid(new AnswerGrid(keyed, this)), m_statement(new QLabel(this))
{
    setObjectName(QStringLiteral("AnswersDialog"));
    setWindowTitle(kTitle);
    // The main window's bold captions would make 187 cells hard to read.
    setFont(look::platformFont("QDialog"));

    auto *header = new QLabel(kHeader, this);
    header->setObjectName(QStringLiteral("AnswersHeader"));
    header->setWordWrap(true);

    // The statement of the chosen cell, for whoever moves with the keys and sees no tooltip.
    m_statement->setObjectName(QStringLiteral("AnswersStatement"));
    m_statement->setWordWrap(true);
    m_statement->setMinimumHeight(2 * m_statement->fontMetrics().lineSpacing());
    m_statement->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *buttons = new QDialogButtonBox(this);
    m_rescore = buttons->addButton(kRescore, QDialogButtonBox::AcceptRole);
    m_rescore->setObjectName(QStringLiteral("Rescore"));
    QPushButton *cancel = buttons->addButton(kCancel, QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("CancelAnswers"));
    m_rescore->setEnabled(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(header);
    layout->addWidget(m_grid, 0, Qt::AlignHCenter);
    layout->addWidget(m_statement);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    header->setFixedWidth(m_grid->sizeHint().width());
    m_statement->setFixedWidth(m_grid->sizeHint().width());

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_grid, &AnswerGrid::optionsChanged, this,
            [this] { m_rescore->setEnabled(m_grid->hasChanges()); });
    connect(m_grid, &AnswerGrid::currentStatementChanged, this, &AnswersDialog::showStatement);

    showStatement(m_grid->currentStatement());
    m_grid->setFocus();
}

const zorven::KeyedOptions &AnswersDialog::options() const
{
    return m_grid->options();
}

void AnswersDialog::showStatement(int q)
{
    m_statement->setText(QStringLiteral("%1. %2").arg(q).arg(zorven::statementText(q)));
}
