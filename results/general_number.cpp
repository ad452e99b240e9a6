#include "results/general_number.h"

namespace zorven {

QString generalNumber(double value, QChar decimalSeparator)
{
    constexpr int kSignificantDigits = 15;
    QString text = QString::number(value, 'g', kSignificantDigits);
    text.replace(u'.', decimalSeparator);
    return text;
}

} // namespace zorven
