#include "entry/age.h"

#include <QString>

#include <algorithm>

namespace zorven {

std::optional<int> wholeNumberFromText(QStringView text)
{
    // Checked by hand rather than left to a locale's parser, which would take blanks and
    // group separators ("1,000") that make no age.
    const QStringView digits =
        text.startsWith(u'+') || text.startsWith(u'-') ? text.sliced(1) : text;
    const auto isAsciiDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), isAsciiDigit))
        return std::nullopt;
    bool fitsInt = false;
    const int number = text.toString().toInt(&fitsInt);
    if (!fitsInt)
        return std::nullopt;
    return number;
}

} // namespace zorven
