#include "review/review_page.h"

#include "paper/answer_sheet_geometry.h"
#include "results/results_table.h"

#include <algorithm>

namespace zorven::review {

namespace {

const QString kNoMark = QStringLiteral("нет отметки");

namespace sheet = answer_sheet;

// What is shown around each mark's boxes, in millimetres of the sheet: a box's side around a
// statement's boxes, so that its number and a stray mark beside them are seen; the label
// «Пол:» and the words after the sex boxes; the label and the written age before the age
// boxes, which a person reads them against.
constexpr QMarginsF kStatementMarginsMm{sheet::kBoxSize, sheet::kBoxSize, sheet::kBoxSize,
                                        sheet::kBoxSize};
constexpr QMarginsF kSexMarginsMm{sheet::kSexBoxesLeft - sheet::kNameField.left(), 2, 24, 2};
constexpr QMarginsF kAgeMarginsMm{sheet::kAgeBoxesLeft - sheet::kNameField.left(), 2, 2, 2};

// The written name is kept for every page of a stack, so no larger than the review shows it
// even on a wide screen: a 300 dpi page's name field is 2100 pixels wide.
constexpr int kNameFieldKeptWidth = 1280;

QImage keptNameField(const QImage &field)
{
    return field.width() > kNameFieldKeptWidth
               ? field.scaledToWidth(kNameFieldKeptWidth, Qt::SmoothTransformation)
               : field;
}

MarkToSettle markToSettle(const QImage &page, const QList<QRectF> &boxes, const QMarginsF &marginsMm,
                          const QString &why)
{
    return {boxesImage(page, boxes, marginsMm), why.isEmpty() ? kNoMark : why};
}

int optionOfReading(QChar reading)
{
    switch (reading.unicode()) {
    case u'a':
        return 1;
    case u'b':
        return 2;
    case u'c':
        return 3;
    default:
        return kNoOption;
    }
}

Sex sexOfReading(QChar reading)
{
    return reading == u'm' ? Sex::Male : reading == u'f' ? Sex::Female : Sex::None;
}

bool isDigitReading(QChar reading)
{
    return reading >= u'0' && reading <= u'9';
}

// Why the age boxes go to a person, or nothing when they read a whole age.
QString ageDoubt(const scan::MarkGroup &tens, const scan::MarkGroup &units)
{
    for (const scan::MarkGroup *digit : {&tens, &units})
        if (!isDigitReading(digit->reading))
            return digit->why.isEmpty() ? kNoMark : digit->why;
    return {};
}

void takeRespondent(ReviewPage &review, const scan::ScannedPage &page)
{
    review.sex = sexOfReading(page.sex.reading);
    if (review.sex == Sex::None)
        review.sexMark = markToSettle(page.image, page.sex.boxes, kSexMarginsMm, page.sex.why);

    const QString doubt = ageDoubt(page.ageTens, page.ageUnits);
    const QList<QRectF> ageBoxes = page.ageTens.boxes + page.ageUnits.boxes;
    if (!doubt.isEmpty()) {
        review.ageMark = markToSettle(page.image, ageBoxes, kAgeMarginsMm, doubt);
        return;
    }
    const int age = page.ageTens.reading.digitValue() * 10 + page.ageUnits.reading.digitValue();
    const int maximum = maximumAgeFor(review.sex).value_or(kMaleMaximumAge);
    // An age outside the norms would be pulled to the nearer limit, as a typed one is; a
    // person sees first whether it was read right.
    if (age < kMinimumAge || age > maximum)
        review.ageMark = markToSettle(page.image, ageBoxes, kAgeMarginsMm,
                                      QStringLiteral("прочитано %1, вне пределов %2..%3")
                                          .arg(age)
                                          .arg(kMinimumAge)
                                          .arg(maximum));
    else
        review.age = age;
}

void takeStatements(ReviewPage &review, const scan::ScannedPage &page)
{
    for (int q = 1; q <= kStatementCount; ++q) {
        const scan::MarkGroup &mark = page.statements[q - 1];
        const int option = optionOfReading(mark.reading);
        review.options.set(q, option);
        if (option == kNoOption)
            review.toSettle.append({q, markToSettle(page.image, mark.boxes, kStatementMarginsMm, mark.why)});
    }
}

} // namespace

bool ReviewPage::needsNobody() const
{
    return wasRead() && member && groupProblem.isEmpty() && toSettle.isEmpty();
}

ReviewPage reviewPageOf(const scan::ScannedPage &page)
{
    ReviewPage review;
    review.file = page.file;
    review.page = page.page;
    review.failure = page.failure;
    if (!page.wasRead())
        return review;
    review.nameField = keptNameField(page.image.copy(page.nameField.toAlignedRect().intersected(page.image.rect())));
    takeRespondent(review, page);
    takeStatements(review, page);
    takeNaming(review, page);
    return review;
}

// The list's sex and age come as the marks' readings do.
void takeNaming(ReviewPage &review, const scan::ScannedPage &named)
{
    review.groupRow = named.groupRow;
    review.groupProblem = named.groupProblem;
    if (named.surname.isEmpty() || !named.groupProblem.isEmpty())
        return;
    review.member = GroupMember{named.surname, sexOfReading(named.sex.reading),
                                named.ageTens.reading.digitValue() * 10 + named.ageUnits.reading.digitValue()};
}

// The boxes' own size in the image gives the scale, whatever the scan's resolution.
QImage boxesImage(const QImage &page, const QList<QRectF> &boxes, const QMarginsF &marginsMm)
{
    if (boxes.isEmpty())
        return {};
    QRectF around = boxes.front();
    double boxHeight = 0;
    for (const QRectF &box : boxes) {
        around = around.united(box);
        boxHeight = std::max(boxHeight, box.height());
    }
    const QMarginsF margins = marginsMm * (boxHeight / sheet::kBoxSize);
    return page.copy(around.marginsAdded(margins).toAlignedRect().intersected(page.rect()));
}

QString SettledSheet::entryMethod() const
{
    return settledStatements == 0 ? kScanned : scannedAndChecked(settledStatements);
}

} // namespace zorven::review
