#pragma once
// What the review of scanned sheets keeps of a page, and what it hands on once a person has
// settled it. A page is reduced, as soon as it is read, to its readings and the few small
// images a person may need (the written name, the boxes the reader doubted), so that a
// stack of hundreds of pages does not hold hundreds of page images.

#include "questionnaire/keyed_options.h"
#include "questionnaire/respondent.h"
#include "questionnaire/statements.h"
#include "scan/scanned_page.h"

#include <QImage>
#include <QList>
#include <QMarginsF>
#include <QString>

#include <array>
#include <optional>

namespace zorven::review {

// A mark the reader left to a person: its boxes' image and why it is doubted.
struct MarkToSettle {
    QImage boxes;
    QString why;
};

// A statement whose mark a person settles: doubtful, or with no mark at all.
struct StatementToSettle {
    int statement = 0; // 1..187
    MarkToSettle mark;
};

// The respondent of a sheet printed for a known group, as its list gives them.
struct GroupMember {
    QString surname;
    Sex sex = Sex::None;
    int age = kMinimumAge;
};

struct ReviewPage {
    QString file;
    int page = 0;
    QString failure; // why the page could not be read; empty when it was

    QImage nameField; // the written «Фамилия И.О.»
    // As read; Sex::None and no age when the reader doubted them, or an age read is
    // outside the norms: then `sexMark` or `ageMark` holds the boxes to show.
    Sex sex = Sex::None;
    std::optional<int> age;
    std::optional<MarkToSettle> sexMark;
    std::optional<MarkToSettle> ageMark;

    KeyedOptions options; // the letters read; kNoOption where a person must settle
    QList<StatementToSettle> toSettle;

    // A group sheet: its row in the list (from 1), and the list's respondent once found.
    // A problem with the list (no such row, two pages with one row) is said in Russian and
    // sends the page to a person as a blank sheet.
    int groupRow = 0;
    std::optional<GroupMember> member;
    QString groupProblem;

    bool wasRead() const { return failure.isEmpty(); }
    // A group sheet whose respondent is known and whose every mark was read: scored
    // without a key pressed.
    bool needsNobody() const;
};

// The page the reader gave, reduced as above, with the list's naming it carries.
ReviewPage reviewPageOf(const scan::ScannedPage &page);
// The list's naming of a group's sheet, found once all pages are read: its respondent, or
// why the list does not name it.
void takeNaming(ReviewPage &review, const scan::ScannedPage &named);

// The boxes of one mark cut out of the page with margins around them, given in millimetres
// of the sheet, so that what is printed beside them can be seen.
QImage boxesImage(const QImage &page, const QList<QRectF> &boxes, const QMarginsF &marginsMm);

// A sheet a person has settled, ready to be scored as a keyed one is.
struct SettledSheet {
    QString surname;
    Sex sex = Sex::None;
    int age = kMinimumAge;
    KeyedOptions options; // complete
    int settledStatements = 0; // how many statements a person answered

    // The results table's «Способ ввода».
    QString entryMethod() const;
};

} // namespace zorven::review
