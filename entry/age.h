#pragma once
// The age limits of the respondent data and how an age text is read.

#include <QChar>
#include <QStringView>

#include <optional>

namespace zorven {

// The age bands of the norm groups: men 16 to 60, women 16 to 55.
inline constexpr int kMinimumAge = 16;
inline constexpr int kMaleMaximumAge = 60;
inline constexpr int kFemaleMaximumAge = 55;

inline constexpr int kSexMale = 0;
inline constexpr int kSexFemale = 1;
inline constexpr int kNoSex = -1;

// The upper age limit of a sex index; none while no sex is chosen.
std::optional<int> maximumAgeFor(int sexIndex);

// An age is typed in decimal digits only: no sign, no separator.
inline bool isAgeDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The age that a text of digits holds; none for an empty text or anything but digits. A
// number too large for an int gives the largest int, which is above every maximum.
std::optional<int> ageFromDigits(QStringView text);

} // namespace zorven
