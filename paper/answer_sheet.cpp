#include "paper/answer_sheet.h"

#include "paper/answer_sheet_geometry.h"
#include "questionnaire/statements.h"

#include <QFontMetricsF>
#include <QPainter>

#include <array>

namespace zorven {

namespace {

namespace sheet = answer_sheet;

const QString kTitle = QStringLiteral("Тест Зорвенна (Форма А). Бланк ответов");
const QString kHowToMark = QStringLiteral(
    "Номер клетки — номер утверждения в буклете. В каждой клетке поставьте крестик в один "
    "квадрат: a, b или c. Чтобы исправить ответ, закрасьте ошибочный квадрат целиком и "
    "отметьте нужный. За пределами клеток и полей ничего не пишите.");
constexpr std::array<QChar, 3> kLetters = {u'a', u'b', u'c'};

const QColor kInk(0, 0, 0);
// Light enough that a scanner's threshold drops it and a pen mark stands out over it.
const QColor kBoxLetterColour(185, 185, 185);
constexpr qreal kBoxLineWidth = 0.25; // mm
constexpr qreal kFieldLineWidth = 0.2;

// From millimetres to page units.
QRectF onPage(const QRectF &mm)
{
    return QRectF(mm.topLeft() * kUnitsPerMm, mm.size() * kUnitsPerMm);
}

QPointF onPage(double x, double y)
{
    return QPointF(x, y) * kUnitsPerMm;
}

QPen inkPen(qreal widthMm)
{
    return QPen(kInk, widthMm * kUnitsPerMm, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
}

// A box whose outline lies inside `mm`, so that its outer edges are the geometry's.
void drawBox(QPainter &painter, const QRectF &mm)
{
    const qreal inset = kBoxLineWidth / 2;
    painter.setPen(inkPen(kBoxLineWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(onPage(mm.adjusted(inset, inset, -inset, -inset)));
}

void drawLetterInBox(QPainter &painter, const QRectF &mm, QChar letter, const QColor &colour)
{
    painter.setPen(colour);
    painter.drawText(onPage(mm), Qt::AlignCenter, QString(letter));
}

// A label and, after it up to `right`, the line to write on.
void drawField(QPainter &painter, const QString &label, double left, double right, double baseline)
{
    painter.setPen(kInk);
    painter.setFont(paperFont(11));
    const QRectF labelBox = onPage(QRectF(left, baseline - 6, right - left, 6));
    QRectF used;
    painter.drawText(labelBox, Qt::AlignLeft | Qt::AlignBottom, label, &used);
    painter.setPen(inkPen(kFieldLineWidth));
    painter.drawLine(QPointF(used.right() + 1.5 * kUnitsPerMm, baseline * kUnitsPerMm),
                     onPage(right, baseline));
}

void drawCornerMarks(QPainter &painter)
{
    for (int corner = 0; corner < 4; ++corner)
        painter.fillRect(onPage(sheet::cornerMarkRect(corner)), kInk);
}

void drawHeader(QPainter &painter)
{
    painter.setPen(kInk);
    painter.setFont(paperFont(14, true));
    painter.drawText(onPage(QRectF(20, 9, 170, 9)), Qt::AlignCenter, kTitle);

    drawField(painter, QStringLiteral("Фамилия И.О."), 12, 198, 28);

    // Sex: two boxes to mark, like the answers.
    painter.setFont(paperFont(11));
    painter.setPen(kInk);
    painter.drawText(onPage(QRectF(12, 33, 12, 6)), Qt::AlignLeft | Qt::AlignBottom,
                     QStringLiteral("Пол:"));
    const std::array<QString, 2> sexes = {QStringLiteral("мужской"), QStringLiteral("женский")};
    for (std::size_t i = 0; i < sexes.size(); ++i) {
        const QRectF box = sheet::sexBoxRect(int(i));
        drawBox(painter, box);
        painter.setPen(kInk);
        painter.drawText(onPage(QRectF(box.right() + 1.5, 33, 22, 6)),
                         Qt::AlignLeft | Qt::AlignBottom, sexes[i]);
    }
    drawField(painter, QStringLiteral("Возраст (лет):"), 82, 128, 39);
    drawField(painter, QStringLiteral("Дата:"), 138, 198, 39);

    painter.setPen(kInk);
    painter.setFont(paperFont(9));
    painter.drawText(onPage(QRectF(12, 44, 186, 18)), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                     kHowToMark);
}

// Three digits must fit beside the boxes: a narrow face where the system has one.
QFont numberFont()
{
    QFont font = paperFont(8, true);
    font.setStretch(QFont::Condensed);
    return font;
}

// Shrinks the font until `text` fits `width` page units.
QFont fitted(QFont font, const QString &text, qreal width)
{
    while (font.pixelSize() > 1 && QFontMetricsF(font).horizontalAdvance(text) > width)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

// The number stands right-aligned before the boxes, half a millimetre clear of them.
constexpr double kNumberGap = 0.5;

void drawCell(QPainter &painter, int q, const QFont &numberFont)
{
    const QRectF cell = sheet::cellRect(q);
    const QRectF numberBox(cell.left(), cell.top(), sheet::kNumberWidth - kNumberGap, cell.height());
    painter.setPen(kInk);
    painter.setFont(numberFont);
    painter.drawText(onPage(numberBox), Qt::AlignRight | Qt::AlignVCenter, QString::number(q));

    painter.setFont(paperFont(8));
    for (int option = 1; option <= 3; ++option) {
        const QRectF box = sheet::boxRect(q, option);
        drawBox(painter, box);
        drawLetterInBox(painter, box, kLetters[std::size_t(option - 1)], kBoxLetterColour);
    }
}

void drawAnswerSheet(QPainter &painter)
{
    drawCornerMarks(painter);
    drawHeader(painter);
    const QFont numbers = fitted(numberFont(), QString::number(kStatementCount),
                                 (sheet::kNumberWidth - kNumberGap) * kUnitsPerMm);
    for (int q = 1; q <= kStatementCount; ++q)
        drawCell(painter, q, numbers);
}

} // namespace

PaperDocument answerSheetDocument()
{
    return {kTitle, 1, [](QPainter &painter, int) { drawAnswerSheet(painter); }};
}

} // namespace zorven
