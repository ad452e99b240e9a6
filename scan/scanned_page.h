#pragma once
// What the reader of scanned answer sheets makes of one page: every mark it read, how sure
// it is of each, and where each box stands in the page's image, so that a person can be
// shown exactly the boxes the reader doubted. The reader never guesses: a mark it is not
// sure of is '?', and only a person turns it into an answer.

#include "questionnaire/statements.h"

#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>

#include <array>

namespace zorven::scan {

// The boxes of one thing marked on the sheet (a statement's a, b, c; the two sex boxes; the
// boxes of one age digit) and what was read from them.
struct MarkGroup {
    // A statement: 'a', 'b', 'c', '-' for no mark, '?' for doubtful.
    // Sex: 'm', 'f', '-' or '?'. An age digit: '0'..'9', '-' or '?'.
    QChar reading = u'-';
    QList<QRectF> boxes;     // each box in the page image, in pixels
    QList<double> darkness;  // each box's ink above the printed empty box: 0 none, 1 full
    QString why;             // for '?': why the reader doubts, in Russian
};

struct ScannedPage {
    QString file;            // the file as given
    int page = 0;            // counted from 1 within the file
    QString failure;         // empty when the page was read; else why not, in Russian
    QImage image;            // the page turned upright, for showing boxes to a person
    double fitErrorMm = 0;   // how far the found marks lie from where the fitted map puts them
    int turnedDegrees = 0;   // 0, or 180 when the page lay upside down in the scan
    std::array<MarkGroup, kStatementCount> statements;
    MarkGroup sex;
    MarkGroup ageTens;
    MarkGroup ageUnits;
    QRectF nameField;        // the written «Фамилия И.О.» field in the page image
    int groupRow = 0;        // a group sheet's row in its list (from 1); 0 on a blank sheet
    // From the group's list, when the sheet's row was found there once; then sex and age
    // come from the list too.
    QString surname;
    // Why the list could not name the sheet (a row the list lacks, a row on two pages, a
    // code not read), in Russian; empty when it could or no list was given.
    QString groupProblem;

    bool wasRead() const { return failure.isEmpty(); }
};

} // namespace zorven::scan
