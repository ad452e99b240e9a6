#include "paper/answer_sheet.h"

#include "paper/answer_sheet_geometry.h"
#include "questionnaire/statements.h"

#include <QPainter>

#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>

#include <array>

namespace zorven {

namespace {

namespace sheet = answer_sheet;

const QString kTitle = QStringLiteral("Тест Зорвенна (Форма А). Бланк ответов");
const QString kHowToMark = QStringLiteral(
    "Номер клетки — номер утверждения в буклете. В каждой клетке поставьте крестик в один "
    "квадрат: a, b или c. Чтобы исправить ответ, закрасьте ошибочный квадрат целиком и "
    "отметьте нужный. Возраст отметьте дважды: десятки и единицы. За пределами клеток и полей "
    "ничего не пишите.");
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
    painter.fillRect(onPage(sheet::topCueRect()), kInk);
}

// The QR code's modules filling `mm`; its quiet zone is the blank the geometry keeps
// around it.
void drawSheetCode(QPainter &painter, const QString &text, const QRectF &mm)
{
    const ZXing::BitMatrix modules =
        ZXing::MultiFormatWriter(ZXing::BarcodeFormat::QRCode).setMargin(0).setEccLevel(4).encode(
            text.toStdString(), 0, 0);
    const double module = mm.width() / modules.width();
    for (int y = 0; y < modules.height(); ++y)
        for (int x = 0; x < modules.width(); ++x)
            if (modules.get(x, y))
                painter.fillRect(onPage(QRectF(mm.left() + x * module, mm.top() + y * module, module, module)),
                                 kInk);
}

// What a sheet printed for a group's row shows in its written fields.
void drawFieldValue(QPainter &painter, const QString &value, double left, double right, double baseline)
{
    painter.setPen(kInk);
    painter.setFont(paperFont(12, true));
    painter.drawText(onPage(QRectF(left, baseline - 6, right - left, 5.6)), Qt::AlignLeft | Qt::AlignBottom, value);
}

void drawAgeBoxes(QPainter &painter)
{
    painter.setFont(paperFont(8));
    painter.setPen(kInk);
    const double labelWidth = sheet::kAgeBoxesLeft - 1 - sheet::kAgeLabelLeft;
    painter.drawText(onPage(QRectF(sheet::kAgeLabelLeft, sheet::kAgeTensTop, labelWidth, sheet::kBoxSize)),
                     Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("десятки"));
    painter.drawText(onPage(QRectF(sheet::kAgeLabelLeft, sheet::kAgeUnitsTop, labelWidth, sheet::kBoxSize)),
                     Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("единицы"));
    for (int digit = sheet::kFirstTensDigit; digit < sheet::kFirstTensDigit + sheet::kTensDigits; ++digit) {
        drawBox(painter, sheet::ageTensBoxRect(digit));
        drawLetterInBox(painter, sheet::ageTensBoxRect(digit), QChar(u'0' + digit), kBoxLetterColour);
    }
    for (int digit = 0; digit < sheet::kUnitsDigits; ++digit) {
        drawBox(painter, sheet::ageUnitsBoxRect(digit));
        drawLetterInBox(painter, sheet::ageUnitsBoxRect(digit), QChar(u'0' + digit), kBoxLetterColour);
    }
}

void drawHeader(QPainter &painter, const GroupSheetRow *row)
{
    painter.setPen(kInk);
    painter.setFont(paperFont(14, true));
    painter.drawText(onPage(sheet::kTitleRect), Qt::AlignCenter, kTitle);

    drawField(painter, QStringLiteral("Фамилия И.О."), sheet::kNameField.left(), sheet::kNameLineRight,
              sheet::kNameBaseline);

    // Sex: two boxes to mark, like the answers.
    painter.setFont(paperFont(11));
    painter.setPen(kInk);
    painter.drawText(onPage(QRectF(sheet::kNameField.left(), sheet::kSexBaseline - 6, 12, 6)),
                     Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("Пол:"));
    const std::array<QString, 2> sexes = {QStringLiteral("мужской"), QStringLiteral("женский")};
    for (std::size_t i = 0; i < sexes.size(); ++i) {
        const QRectF box = sheet::sexBoxRect(int(i));
        drawBox(painter, box);
        painter.setPen(kInk);
        painter.drawText(onPage(QRectF(box.right() + 1.5, sheet::kSexBaseline - 6, 22, 6)),
                         Qt::AlignLeft | Qt::AlignBottom, sexes[i]);
    }
    drawField(painter, QStringLiteral("Дата:"), sheet::kDateLeft, sheet::kNameLineRight, sheet::kSexBaseline);
    drawField(painter, QStringLiteral("Возраст (лет):"), sheet::kNameField.left(), sheet::kAgeFieldRight,
              sheet::kAgeBaseline);
    drawAgeBoxes(painter);

    const sheet::SheetCode code{sheet::kLayoutVersion, row ? row->number : 0};
    drawSheetCode(painter, sheet::sheetCodeText(code), sheet::kSheetCodeRect);
    if (row) {
        painter.setFont(paperFont(7));
        painter.drawText(onPage(sheet::kSheetCodeCaption), Qt::AlignHCenter | Qt::AlignTop,
                         QStringLiteral("строка списка %1").arg(row->number));
        drawFieldValue(painter, row->surname, 43, sheet::kNameLineRight, sheet::kNameBaseline - 0.5);
        drawFieldValue(painter, sexTextOf(row->sex), sheet::kDateLeft - 30, sheet::kDateLeft - 2,
                       sheet::kSexBaseline - 0.5);
        drawFieldValue(painter, QString::number(row->age), 44, sheet::kAgeFieldRight + 2, sheet::kAgeBaseline - 0.5);
    }

    painter.setPen(kInk);
    painter.setFont(paperFont(9));
    painter.drawText(onPage(sheet::kInstructionRect), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                     kHowToMark);
}

// Three digits must fit above the boxes: a narrow face where the system has one.
QFont numberFont()
{
    QFont font = paperFont(8, true);
    font.setStretch(QFont::Condensed);
    return font;
}

void drawCell(QPainter &painter, int q)
{
    painter.setPen(kInk);
    painter.setFont(numberFont());
    painter.drawText(onPage(sheet::numberRect(q)), Qt::AlignLeft | Qt::AlignBottom, QString::number(q));

    painter.setFont(paperFont(8));
    for (int option = 1; option <= 3; ++option) {
        const QRectF box = sheet::boxRect(q, option);
        drawBox(painter, box);
        drawLetterInBox(painter, box, kLetters[std::size_t(option - 1)], kBoxLetterColour);
    }
}

void drawAnswerSheet(QPainter &painter, const GroupSheetRow *row)
{
    drawCornerMarks(painter);
    drawHeader(painter, row);
    for (int q = 1; q <= kStatementCount; ++q)
        drawCell(painter, q);
}

} // namespace

PaperDocument answerSheetDocument()
{
    return {kTitle, 1, [](QPainter &painter, int) { drawAnswerSheet(painter, nullptr); }};
}

PaperDocument groupAnswerSheetsDocument(const QList<GroupSheetRow> &rows)
{
    return {kTitle, int(rows.size()),
            [rows](QPainter &painter, int page) { drawAnswerSheet(painter, &rows[page]); }};
}

} // namespace zorven
