#pragma once
// How an age text is read.

#include "questionnaire/respondent.h"

#include <QChar>
#include <QStringView>

#include <optional>

namespace zorven {

// An age is typed in decimal digits only: no sign, no separator.
inline bool isAgeDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The age that a text of digits holds; none for an empty text or anything but digits. A
// number too large for an int gives the largest int, which is above every maximum.
std::optional<int> ageFromDigits(QStringView text);

} // namespace zorven
