#pragma once
// How an age text is read.

#include "questionnaire/respondent.h"

#include <QStringView>

#include <optional>

namespace zorven {

// The whole number an age field's text holds: an optional sign and decimal digits,
// nothing else. Anything that is not one (empty, "5.5", "+", too large) gives none.
std::optional<int> wholeNumberFromText(QStringView text);

} // namespace zorven
