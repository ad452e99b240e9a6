#include "widgets/answer_grid.h"

#include "widgets/answer_grid_accessible.h"
#include "questionnaire/statements.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <array>

namespace {

constexpr int kLastStatement = zorven::kStatementCount;
constexpr int kRows = (kLastStatement + AnswerGrid::kCellsPerRow - 1) / AnswerGrid::kCellsPerRow;
// Every five rows and five columns a wider gap, as on the paper, so that the eye keeps its
// place when it goes between the screen and the sheet.
constexpr int kCellsPerGroup = zorven::answer_sheet::kCellsPerGroup;
constexpr std::array<QChar, 3> kLetters = {u'a', u'b', u'c'};

const QColor kChangedColour(255, 226, 110);
const QColor kMarkedColour(0, 0, 128);
const QColor kFreeBoxColour(255, 255, 255);
// The letters not chosen: lighter than the text, yet 4.9 : 1 on white.
const QColor kFaintColour(112, 112, 112);

using zorven::answer_sheet::columnOf;
using zorven::answer_sheet::rowOf;

QString toolTipOf(int q)
{
    // Rich text, so that a long statement wraps instead of running across the screen.
    return QStringLiteral("<p>%1. %2</p>").arg(q).arg(zorven::statementText(q).toHtmlEscaped());
}

} // namespace

AnswerGrid::AnswerGrid(const zorven::KeyedOptions &keyed, QWidget *parent)
    : QWidget(parent), m_keyed(keyed), m_options(keyed)
{
    setObjectName(QStringLiteral("AnswerGrid"));
    setFocusPolicy(Qt::StrongFocus);
    answer_grid_accessible::install();
    measure();
}

bool AnswerGrid::isChanged(int q) const
{
    return m_options.at(q) != m_keyed.at(q);
}

bool AnswerGrid::hasChanges() const
{
    return m_options != m_keyed;
}

void AnswerGrid::setCurrentStatement(int q)
{
    q = std::clamp(q, 1, kLastStatement);
    if (q == m_current)
        return;
    update(cellRect(m_current).adjusted(-2, -2, 2, 2));
    m_current = q;
    update(cellRect(m_current).adjusted(-2, -2, 2, 2));
    emit currentStatementChanged(q);
    answer_grid_accessible::notifyFocus(this, q);
}

QRect AnswerGrid::cellRect(int q) const
{
    const int column = columnOf(q);
    const int row = rowOf(q);
    return QRect(m_groupGap / 2 + column * m_cellWidth + column / kCellsPerGroup * m_groupGap,
                 m_groupGap / 2 + row * m_rowHeight + row / kCellsPerGroup * m_groupGap,
                 m_cellWidth, m_rowHeight);
}

QRect AnswerGrid::optionRect(int q, int option) const
{
    const QRect cell = cellRect(q);
    const int top = cell.top() + (cell.height() - m_boxSize) / 2;
    return QRect(cell.left() + m_numberWidth + (option - 1) * m_boxSize, top, m_boxSize, m_boxSize);
}

QSize AnswerGrid::sizeHint() const
{
    const QRect last = cellRect(kRows * kCellsPerRow);
    return {last.right() + 1 + m_groupGap / 2, last.bottom() + 1 + m_groupGap / 2};
}

int AnswerGrid::optionForCharacter(QChar c)
{
    switch (c.toLower().unicode()) {
    case u'a':
    case u'1':
    case u'а': // Cyrillic a
        return 1;
    case u'b':
    case u'2':
    case u'б':
        return 2;
    case u'c':
    case u'3':
    case u'с': // Cyrillic es, as the hint "Ответ С" writes c
        return 3;
    default:
        return zorven::kNoOption;
    }
}

bool AnswerGrid::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const Hit hit = hitAt(help->pos());
        if (hit.statement != 0)
            QToolTip::showText(help->globalPos(), toolTipOf(hit.statement), this,
                               cellRect(hit.statement));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void AnswerGrid::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().base());
    for (int q = 1; q <= kLastStatement; ++q) {
        if (event->rect().intersects(cellRect(q).adjusted(-2, -2, 2, 2)))
            paintCell(painter, q);
    }
}

void AnswerGrid::paintCell(QPainter &painter, int q) const
{
    const QRect cell = cellRect(q);
    if (isChanged(q))
        painter.fillRect(cell, kChangedColour);

    painter.setPen(palette().color(QPalette::Text));
    painter.setFont(font());
    const QRect number(cell.left(), cell.top(), m_numberWidth - m_boxSize / 3, cell.height());
    painter.drawText(number, Qt::AlignRight | Qt::AlignVCenter, QString::number(q));

    QFont letterFont = font();
    for (int option = 1; option <= 3; ++option) {
        const QRect box = optionRect(q, option).adjusted(1, 1, -1, -1);
        const bool marked = m_options.at(q) == option;
        painter.setPen(marked ? kMarkedColour : kFaintColour);
        painter.setBrush(marked ? kMarkedColour : kFreeBoxColour);
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        letterFont.setBold(marked);
        painter.setFont(letterFont);
        painter.setPen(marked ? kFreeBoxColour : kFaintColour);
        painter.drawText(box, Qt::AlignCenter, kLetters[std::size_t(option - 1)]);
    }

    if (q == m_current) {
        const QColor frame = hasFocus() ? palette().color(QPalette::Highlight) : kFaintColour;
        painter.setPen(QPen(frame, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
    }
}

void AnswerGrid::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        return moveBy(-1);
    case Qt::Key_Right:
        return moveBy(1);
    case Qt::Key_Up:
        return moveBy(-kCellsPerRow);
    case Qt::Key_Down:
        return moveBy(kCellsPerRow);
    case Qt::Key_Home:
        return setCurrentStatement(1);
    case Qt::Key_End:
        return setCurrentStatement(kLastStatement);
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Not passed on to the dialog: a re-score starts only from its button.
        return event->accept();
    default:
        break;
    }
    const QString text = event->text();
    const bool typed = text.size() == 1 && text.at(0).isPrint()
                       && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (!typed)
        return QWidget::keyPressEvent(event);
    if (const int option = optionForCharacter(text.at(0)); option != zorven::kNoOption) {
        setOption(m_current, option);
    } else {
        QApplication::beep();
        emit refusedKey();
    }
}

void AnswerGrid::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    const Hit hit = hitAt(event->position().toPoint());
    if (hit.statement == 0)
        return;
    setCurrentStatement(hit.statement);
    if (hit.option != zorven::kNoOption)
        setOption(hit.statement, hit.option);
}

void AnswerGrid::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        measure();
        updateGeometry();
        update();
    }
    QWidget::changeEvent(event);
}

// Sizes follow the font, so that the grid stays legible at any text size.
void AnswerGrid::measure()
{
    const QFontMetrics metrics(font());
    m_boxSize = metrics.height() + 4;
    m_numberWidth = metrics.horizontalAdvance(QStringLiteral("188")) + m_boxSize / 2;
    m_cellWidth = m_numberWidth + 3 * m_boxSize + m_boxSize / 2;
    m_rowHeight = m_boxSize + 4;
    m_groupGap = m_boxSize / 2;
}

void AnswerGrid::setOption(int q, int option)
{
    if (m_options.at(q) == option)
        return;
    m_options.set(q, option);
    update(cellRect(q).adjusted(-2, -2, 2, 2));
    emit optionsChanged();
    answer_grid_accessible::notifyChanged(this, q);
}

// A move that would leave the sheet stays where it is.
void AnswerGrid::moveBy(int step)
{
    const int target = m_current + step;
    if (target >= 1 && target <= kLastStatement)
        setCurrentStatement(target);
}

AnswerGrid::Hit AnswerGrid::hitAt(const QPoint &position) const
{
    for (int q = 1; q <= kLastStatement; ++q) {
        if (!cellRect(q).contains(position))
            continue;
        for (int option = 1; option <= 3; ++option) {
            if (optionRect(q, option).contains(position))
                return {q, option};
        }
        return {q, zorven::kNoOption};
    }
    return {};
}
