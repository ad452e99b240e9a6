#include "questionnaire/surname_text.h"

#include "questionnaire/cp1251.h"

namespace zorven {

bool isSurnameUnit(QChar unit)
{
    return cp1251::isLineCharacter(unit.unicode());
}

QString withBreaksBlanked(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    for (QChar &unit : text) {
        if (unit == u'\t' || unit == u'\n' || unit == u'\r')
            unit = u' ';
    }
    return text;
}

qsizetype firstRefusedUnit(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isSurnameUnit(text[i]))
            return i;
    }
    return -1;
}

} // namespace zorven
