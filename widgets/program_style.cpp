#include "widgets/program_style.h"

#include <QApplication>

namespace look {

void useProgramStyle()
{
    QApplication::setStyle(QStringLiteral("Fusion"));
}

} // namespace look
