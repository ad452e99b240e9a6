#pragma once
// The age limits of the respondent data and how an age text is read.

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

// The whole number an age field's text holds: an optional sign and decimal digits,
// nothing else. Anything that is not one (empty, "5.5", "+", too large) gives none.
std::optional<int> wholeNumberFromText(QStringView text);

} // namespace zorven
