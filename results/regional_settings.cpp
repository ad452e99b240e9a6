#include "results/regional_settings.h"

#include "questionnaire/cp1251.h"

namespace zorven {

namespace {

bool isUsableSeparator(const QString &separator)
{
    return separator.size() == 1 && cp1251::isCharacter(separator.front().unicode());
}

// Some patterns carry invisible direction marks (Arabic: "d\u200F/M\u200F/yyyy"), which
// the report's code page cannot hold and which would show there as question marks.
QString withoutFormatMarks(QString pattern)
{
    pattern.removeIf([](QChar c) { return c.category() == QChar::Other_Format; });
    return pattern;
}

} // namespace

RegionalSettings RegionalSettings::fromLocale(const QLocale &locale)
{
    RegionalSettings settings;
    if (locale.language() == QLocale::C)
        return settings;
    if (const QString separator = locale.decimalPoint(); isUsableSeparator(separator))
        settings.decimalSeparator = separator.front();
    if (const QString pattern = withoutFormatMarks(locale.dateFormat(QLocale::ShortFormat));
        !pattern.isEmpty())
        settings.shortDatePattern = pattern;
    return settings;
}

} // namespace zorven
