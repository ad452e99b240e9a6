#pragma once
// The list of a group tested on paper, from which one answer sheet per respondent is
// printed with the respondent's data in its fields and the row in its code, and by which
// the scans of those sheets are named again. A UTF-8 text (a byte-order mark allowed),
// ';' between fields, a header line, then one row per respondent:
//
//     Фамилия;Пол;Возраст
//     Петрова А.В.;Женский;20
//
// The surname is taken as the window's name field takes it, the sex as the results table
// writes it (any case), the age within the limits of the sex.

#include "questionnaire/respondent.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace zorven {

struct GroupSheetRow {
    int number = 0;   // the row in the list, from 1 for the first after the header
    QString surname;
    Sex sex = Sex::None;
    int age = 0;
};

struct GroupList {
    QList<GroupSheetRow> rows;
    // One line per refused row or fault of the file, "строка N: why", in Russian. A list
    // with any is used for nothing, so that no row is ever taken for another.
    QStringList faults;

    // The row of that number; nullptr when the list has none.
    const GroupSheetRow *row(int number) const;
};

GroupList groupListOf(const QByteArray &bytes);

// Reads the file; a file that cannot be read gives one fault naming it.
GroupList readGroupList(const QString &path);

} // namespace zorven
