#include "app/answers_dialog.h"

#include "widgets/answer_grid.h"
#include "widgets/form_look.h"
#include "questionnaire/statements.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
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
    : QDialog(parent),
      m_grid(new AnswerGrid(keyed)),
      m_scroller(new QScrollArea(this)),
      m_statement(new QLabel(this))
{
    setObjectName(QStringLiteral("AnswersDialog"));
    setWindowTitle(kTitle);
    // The main window's bold captions would make 187 cells hard to read.
    setFont(look::platformFont("QDialog"));

    // On a small screen the grid scrolls; the header, the statement and the buttons stay.
    m_scroller->setObjectName(QStringLiteral("AnswersScroller"));
    m_scroller->setWidget(m_grid);
    m_scroller->setAlignment(Qt::AlignHCenter);
    m_scroller->setFrameShape(QFrame::NoFrame);

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

    m_grid->setAccessibleName(kTitle);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(header);
    layout->addWidget(m_scroller, 1);
    layout->addWidget(m_statement);
    layout->addWidget(buttons);
    fitScreen();

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
    const QRect cell = m_grid->cellRect(q);
    m_scroller->ensureVisible(cell.center().x(), cell.center().y(), cell.width(), cell.height());
}

// The whole grid where the screen has room for it. A narrow screen gets a smaller grid
// before it gets a sideways scroll bar; a low one scrolls the rows. The title bar and
// frame, which the window manager adds, are allowed for.
void AnswersDialog::fitScreen()
{
    const QSize frameAllowance(16, 48);
    const QSize room = screen()->availableGeometry().size() - frameAllowance;
    QFont gridFont = m_grid->font();
    m_grid->resize(m_grid->sizeHint());
    while (wholeSize().width() > room.width() && gridFont.pointSizeF() > kSmallestGridPointSize) {
        gridFont.setPointSizeF(gridFont.pointSizeF() - 0.5);
        m_grid->setFont(gridFont);
        m_grid->resize(m_grid->sizeHint());
    }
    m_scroller->setMinimumSize(m_grid->cellRect(1).size() * 2);
    resize(wholeSize().boundedTo(room));
}

// The dialog's size with the whole grid on show, the header wrapped to the grid's width.
QSize AnswersDialog::wholeSize()
{
    const QSize scrollerBefore = m_scroller->minimumSize();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    m_scroller->setMinimumSize(m_grid->sizeHint() + QSize(bar, bar));
    const int width = layout()->totalMinimumSize().width();
    const QSize whole(width, layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width)
                                                           : layout()->totalSizeHint().height());
    m_scroller->setMinimumSize(scrollerBefore);
    return whole;
}
