#pragma once
// What the respondent reads before the first statement: the booklet's title page and the
// first page of the respondent's screen. Both take their paragraphs from one table, so
// that what they share is the same text word for word, and each adds only what belongs to
// answering on paper or on a screen.

#include <QString>
#include <QStringList>

namespace zorven {

enum class AnsweringMedium { Paper, Screen };

// The instructions' heading.
extern const QString kInstructionsHeading;

// The paragraphs for answering on `medium`, in the order they are read.
QStringList instructionParagraphs(AnsweringMedium medium);

} // namespace zorven
