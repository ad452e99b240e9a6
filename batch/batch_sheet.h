#pragma once
// One row of a results table read back for scoring: columns 1 to 5 checked, column 43
// kept, the rest ignored, since the scores are computed again.

#include "questionnaire/keyed_options.h"
#include "questionnaire/respondent.h"
#include "results/table_records.h"

#include <QDateTime>
#include <QString>

#include <variant>

namespace zorven {

// The sex list's text of a sex; empty for none.
QString sexTextOf(Sex sex);

struct BatchSheet {
    QDateTime scoredAt;
    QString surname;
    Sex sex = Sex::None;
    int age = kMinimumAge;
    KeyedOptions options;
    QString verification; // column 43, copied through as read; empty in older tables
};

// The sheet a record holds, or why it cannot be scored, in Russian. Answers may be given
// as a/b/c, Cyrillic а/б/в or 1/2/3 in any case, as mark-reading software exports them.
std::variant<BatchSheet, QString> batchSheetOf(const TableRecord &record);

} // namespace zorven
