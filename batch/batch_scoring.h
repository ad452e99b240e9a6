#pragma once
// Batch scoring without a window: zorventest --score IN.csv --out DIR scores every row of
// a results table, writes each report into DIR and a recomputed table beside them.

#include "questionnaire/keyed_options.h"
#include "questionnaire/respondent.h"
#include "scoring/factors.h"

#include <QStringList>

class QIODevice;

namespace zorven {

inline constexpr int kBatchAllScored = 0;
inline constexpr int kBatchRowsRejected = 1;
inline constexpr int kBatchCannotRun = 2;

// How many rows are scored and written between two syncs of the output folder; the
// reason is given where the batch syncs.
inline constexpr int kBatchRowsPerSync = 5000;

// The scoring run for one sheet: answer record, raw scores, stens, F1..F4.
Sheet scoredSheet(const KeyedOptions &options, Sex sex, int age);

// Runs the batch that `arguments` (without the program's name) ask for. Rejections and
// failures go to `messages`, with a progress line as well when `showProgress`. Returns
// the exit status: kBatchAllScored, kBatchRowsRejected or kBatchCannotRun.
int runBatchScoring(const QStringList &arguments, QIODevice &messages, bool showProgress);

} // namespace zorven
