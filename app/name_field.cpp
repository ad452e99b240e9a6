#include "app/name_field.h"

#include "questionnaire/cp1251.h"

#include <QApplication>
#include <QKeyEvent>
#include <QValidator>

#include <algorithm>

namespace {

// What the report can carry: code page 1251 without control characters, which would break
// the report's line or its file name. A character outside the Basic Multilingual Plane
// comes as two surrogates, neither of which the code page holds, so looking at single
// UTF-16 units is enough.
bool isReportUnit(QChar unit)
{
    return zorven::cp1251::isLineCharacter(unit.unicode());
}

bool holdsOnlyReportCharacters(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), isReportUnit);
}

// Pasted, dropped or composed text reaches the field without a key press; what the report
// cannot hold is taken out of it silently.
class ReportTextValidator : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override
    {
        const auto keptBeforeCursor =
            std::count_if(input.cbegin(), input.cbegin() + pos, isReportUnit);
        input.removeIf([](QChar unit) { return !isReportUnit(unit); });
        pos = static_cast<int>(keptBeforeCursor);
        return Acceptable;
    }
};

} // namespace

NameField::NameField(QWidget *parent) : QLineEdit(parent)
{
    setValidator(new ReportTextValidator(this));
    connect(this, &QLineEdit::textEdited, this, [this] { m_changedByUser = true; });
}


void NameField::keyPressEvent(QKeyEvent *event)
{
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.front().isPrint() && !holdsOnlyReportCharacters(typed)) {
        event->accept();
        QApplication::beep();
        emit inputRefused();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
