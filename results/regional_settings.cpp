#include "results/regional_settings.h"

#include "questionnaire/cp1251.h"

#include <QByteArray>
#include <QtGlobal>

#include <initializer_list>

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

void takeNumbersFrom(const QLocale &locale, RegionalSettings &settings)
{
    if (const QString separator = locale.decimalPoint(); isUsableSeparator(separator))
        settings.decimalSeparator = separator.front();
}

void takeDatesFrom(const QLocale &locale, RegionalSettings &settings)
{
    if (const QString pattern = withoutFormatMarks(locale.dateFormat(QLocale::ShortFormat));
        !pattern.isEmpty())
        settings.shortDatePattern = pattern;
}

#ifdef Q_OS_UNIX
// The locale in force for one category, found as the C library finds it: LC_ALL, then
// the category's own variable, then LANG. Qt's system locale takes its numbers and dates
// the same way, but its language from LC_MESSAGES, so the language alone cannot tell
// whether numbers or dates are the C locale's.
bool categoryIsCLocale(const char *category)
{
    for (const char *variable : {"LC_ALL", category, "LANG"}) {
        const QByteArray name = qgetenv(variable);
        if (!name.isEmpty())
            return name == "C" || name == "POSIX" || name.startsWith("C.");
    }
    return true;
}
#else
bool categoryIsCLocale(const char *)
{
    return QLocale::system().language() == QLocale::C;
}
#endif

} // namespace

RegionalSettings RegionalSettings::fromLocale(const QLocale &locale)
{
    RegionalSettings settings;
    if (locale.language() == QLocale::C)
        return settings;
    takeNumbersFrom(locale, settings);
    takeDatesFrom(locale, settings);
    return settings;
}

RegionalSettings RegionalSettings::fromSystem()
{
    const QLocale system = QLocale::system();
    RegionalSettings settings;
    if (!categoryIsCLocale("LC_NUMERIC"))
        takeNumbersFrom(system, settings);
    if (!categoryIsCLocale("LC_TIME"))
        takeDatesFrom(system, settings);
    return settings;
}

} // namespace zorven
