#pragma once
// The user's decimal separator and short date pattern, as the report and the results
// display write numbers and dates.

#include <QChar>
#include <QLocale>
#include <QString>

namespace zorven {

struct RegionalSettings {
    // The defaults are what a locale that states nothing of its own (C/POSIX) gets.
    QChar decimalSeparator = u'.';
    QString shortDatePattern = QStringLiteral("M/d/yy");

    // Qt answers the C locale with its own built-in "d MMM yyyy" and "."; those are not
    // the user's settings, so that locale keeps the defaults. A separator that is not one
    // character of code page 1251 keeps the default too: the report could not hold it.
    // Invisible direction marks are dropped from the pattern for the same reason.
    static RegionalSettings fromLocale(const QLocale &locale);

    // The user's settings as the system holds them now: the separator from the locale in
    // force for numbers, the pattern from the one in force for dates, each falling back
    // to the defaults where its own category is the C locale.
    static RegionalSettings fromSystem();
};

} // namespace zorven
