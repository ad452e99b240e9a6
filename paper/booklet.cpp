#include "paper/booklet.h"

#include "questionnaire/instructions.h"
#include "questionnaire/statements.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace zorven {

namespace {

const QString kTitle = QStringLiteral("Тест Зорвенна (Форма А). Буклет с вопросами");
const QString kRunningTitle = QStringLiteral("Тест Зорвенна (Форма А)");
// Under the last statement: a statement left without an answer on the sheet cannot be
// scored, and the respondent is still there to answer it.
const QString kClosing = QStringLiteral(
    "Конец буклета. Проверьте, что на бланке у каждого утверждения, от 1 до %1, отмечен ответ: "
    "ни одно не пропущено.").arg(kStatementCount);

constexpr std::array<QChar, 3> kLetters = {u'a', u'b', u'c'};

// The page, in millimetres.
constexpr qreal kLeft = 20;
constexpr qreal kRight = 190;
constexpr qreal kBodyTop = 22;
constexpr qreal kBodyBottom = 280;
constexpr qreal kNumberWidth = 12;
constexpr qreal kTextLeft = kLeft + kNumberWidth + 1.5;
constexpr qreal kTextWidth = kRight - kTextLeft;
constexpr qreal kOptionsGap = 1;     // between a statement and its options
constexpr qreal kStatementGap = 3.5; // between one statement's options and the next

// Large enough for an older respondent without glasses; the running title and the page
// number are no smaller.
constexpr qreal kTextPoints = 11.5;
constexpr qreal kMarginPoints = 11;

const QColor kInk(0, 0, 0);
const QColor kRuleColour(120, 120, 120);

QRectF onPage(qreal left, qreal top, qreal width, qreal height)
{
    return QRectF(left * kUnitsPerMm, top * kUnitsPerMm, width * kUnitsPerMm, height * kUnitsPerMm);
}

QFont textFont()
{
    return paperFont(kTextPoints);
}

QFont numberFont()
{
    return paperFont(kTextPoints + 1, true);
}

// Height in millimetres of `text` wrapped to `width` millimetres.
qreal wrappedHeight(const QFont &font, qreal width, const QString &text)
{
    const QRectF bounds = QFontMetricsF(font).boundingRect(
        QRectF(0, 0, width * kUnitsPerMm, 1e6), Qt::TextWordWrap, text);
    return bounds.height() / kUnitsPerMm;
}

QString optionLine(int q, int option)
{
    return laidOutText(QStringLiteral("%1) %2").arg(kLetters[std::size_t(option - 1)])
                           .arg(optionText(3 * (q - 1) + option)));
}

QString statementLine(int q)
{
    return laidOutText(statementText(q));
}

QFont closingFont()
{
    return paperFont(kTextPoints, true);
}

qreal closingHeight()
{
    return wrappedHeight(closingFont(), kRight - kLeft, laidOutText(kClosing));
}

// One statement as it is laid out: its text, then its options side by side in three
// columns when each fits its column on one line, else one under another.
struct StatementBlock
{
    int q = 0;
    qreal textHeight = 0;
    bool optionsInColumns = true;
    std::array<qreal, 3> optionHeights{};

    qreal height() const
    {
        qreal options = 0;
        for (const qreal h : optionHeights)
            options = optionsInColumns ? std::max(options, h) : options + h;
        return textHeight + kOptionsGap + options;
    }
};

qreal columnWidth()
{
    return kTextWidth / 3;
}

StatementBlock layOut(int q)
{
    StatementBlock block;
    block.q = q;
    block.textHeight = wrappedHeight(textFont(), kTextWidth, statementLine(q));
    const QFontMetricsF metrics(textFont());
    for (int option = 1; option <= 3; ++option) {
        if (metrics.horizontalAdvance(optionLine(q, option)) > (columnWidth() - 2) * kUnitsPerMm)
            block.optionsInColumns = false;
    }
    for (int option = 1; option <= 3; ++option)
        block.optionHeights[std::size_t(option - 1)] = wrappedHeight(
            textFont(), block.optionsInColumns ? columnWidth() : kTextWidth, optionLine(q, option));
    return block;
}

// The statements page by page: a statement that would cross the page's foot starts the
// next page, so that none is ever split. The closing line goes under the last statement,
// or alone on a page of its own when it does not fit there.
std::vector<std::vector<StatementBlock>> paginate()
{
    std::vector<std::vector<StatementBlock>> pages(1);
    qreal y = kBodyTop;
    for (int q = 1; q <= kStatementCount; ++q) {
        const StatementBlock block = layOut(q);
        if (y + block.height() > kBodyBottom && !pages.back().empty()) {
            pages.emplace_back();
            y = kBodyTop;
        }
        pages.back().push_back(block);
        y += block.height() + kStatementGap;
    }
    if (y + kStatementGap + closingHeight() > kBodyBottom)
        pages.emplace_back();
    return pages;
}

void drawStatement(QPainter &painter, const StatementBlock &block, qreal top)
{
    painter.setPen(kInk);
    painter.setFont(numberFont());
    painter.drawText(onPage(kLeft, top, kNumberWidth, block.textHeight + 1),
                     Qt::AlignRight | Qt::AlignTop, QStringLiteral("%1.").arg(block.q));
    painter.setFont(textFont());
    painter.drawText(onPage(kTextLeft, top, kTextWidth, block.textHeight + 1),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, statementLine(block.q));

    qreal y = top + block.textHeight + kOptionsGap;
    for (int option = 1; option <= 3; ++option) {
        const qreal height = block.optionHeights[std::size_t(option - 1)];
        const qreal left = block.optionsInColumns ? kTextLeft + (option - 1) * columnWidth() : kTextLeft;
        const qreal width = block.optionsInColumns ? columnWidth() : kTextWidth;
        painter.drawText(onPage(left, y, width, height + 1),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, optionLine(block.q, option));
        if (!block.optionsInColumns)
            y += height;
    }
}

void drawRunningTitleAndNumber(QPainter &painter, int page, int pageCount)
{
    painter.setPen(kInk);
    painter.setFont(paperFont(kMarginPoints));
    painter.drawText(onPage(kLeft, 10, kRight - kLeft, 6), Qt::AlignLeft | Qt::AlignBottom,
                     kRunningTitle);
    painter.drawText(onPage(kLeft, 10, kRight - kLeft, 6), Qt::AlignRight | Qt::AlignBottom,
                     QStringLiteral("Не пишите в буклете: ответы — на бланке"));
    painter.setPen(QPen(kRuleColour, 0.2 * kUnitsPerMm));
    painter.drawLine(QPointF(kLeft, 17) * kUnitsPerMm, QPointF(kRight, 17) * kUnitsPerMm);
    painter.setPen(kInk);
    painter.setFont(paperFont(kMarginPoints));
    painter.drawText(onPage(kLeft, 283, kRight - kLeft, 6), Qt::AlignHCenter | Qt::AlignTop,
                     QStringLiteral("Страница %1 из %2").arg(page + 1).arg(pageCount));
}

void drawTitlePage(QPainter &painter)
{
    painter.setPen(kInk);
    painter.setFont(paperFont(24, true));
    painter.drawText(onPage(kLeft, 35, kRight - kLeft, 14), Qt::AlignCenter,
                     QStringLiteral("Тест Зорвенна"));
    painter.setFont(paperFont(16));
    painter.drawText(onPage(kLeft, 50, kRight - kLeft, 10), Qt::AlignCenter,
                     QStringLiteral("Форма А. Буклет с вопросами"));

    painter.setFont(paperFont(14, true));
    painter.drawText(onPage(kLeft, 75, kRight - kLeft, 9), Qt::AlignLeft | Qt::AlignVCenter,
                     kInstructionsHeading);
    const QFont font = paperFont(12);
    painter.setFont(font);
    qreal y = 88;
    for (const QString &instruction : instructionParagraphs(AnsweringMedium::Paper)) {
        const QString paragraph = laidOutText(instruction);
        const qreal height = wrappedHeight(font, kRight - kLeft, paragraph);
        painter.drawText(onPage(kLeft, y, kRight - kLeft, height + 1),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, paragraph);
        y += height + 4;
    }
}

void drawClosing(QPainter &painter, qreal top)
{
    painter.setPen(kInk);
    painter.setFont(closingFont());
    painter.drawText(onPage(kLeft, top, kRight - kLeft, closingHeight() + 1),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, laidOutText(kClosing));
}

} // namespace

PaperDocument bookletDocument()
{
    auto pages = std::make_shared<const std::vector<std::vector<StatementBlock>>>(paginate());
    const int pageCount = 1 + int(pages->size());
    return {kTitle, pageCount, [pages, pageCount](QPainter &painter, int page) {
                if (page == 0)
                    return drawTitlePage(painter);
                drawRunningTitleAndNumber(painter, page, pageCount);
                qreal y = kBodyTop;
                for (const StatementBlock &block : (*pages)[std::size_t(page - 1)]) {
                    drawStatement(painter, block, y);
                    y += block.height() + kStatementGap;
                }
                if (page == pageCount - 1)
                    drawClosing(painter, y + kStatementGap);
            }};
}

} // namespace zorven
