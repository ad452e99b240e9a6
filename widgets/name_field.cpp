#include "widgets/name_field.h"

#include "questionnaire/surname_text.h"

#include <QApplication>
#include <QKeyEvent>
#include <QValidator>

#include <algorithm>

namespace {

using zorven::isSurnameUnit;

bool holdsOnlyReportCharacters(const QString &text)
{
    return zorven::firstRefusedUnit(text) < 0;
}

// Pasted, dropped or composed text reaches the field without a key press; what the report
// cannot hold is taken out of it, with the beep a refused key gives.
class ReportTextValidator : public QValidator
{
public:
    explicit ReportTextValidator(NameField *field) : QValidator(field), m_field(field) {}

    State validate(QString &input, int &pos) const override
    {
        const QString beforeCursor = zorven::withBreaksBlanked(input.left(pos));
        input = zorven::withBreaksBlanked(input);
        const auto keptBeforeCursor =
            std::count_if(beforeCursor.cbegin(), beforeCursor.cend(), isSurnameUnit);
        const qsizetype offered = input.size();
        input.removeIf([](QChar unit) { return !isSurnameUnit(unit); });
        if (input.size() != offered)
            m_field->refuseInput();
        pos = static_cast<int>(keptBeforeCursor);
        return Acceptable;
    }

private:
    NameField *m_field;
};

} // namespace

NameField::NameField(QWidget *parent) : QLineEdit(parent)
{
    setValidator(new ReportTextValidator(this));
    connect(this, &QLineEdit::textEdited, this, [this] { m_changedByUser = true; });
}

void NameField::startAgain()
{
    clear();
    m_changedByUser = false;
}

void NameField::refuseInput()
{
    QApplication::beep();
    emit inputRefused();
}

void NameField::keyPressEvent(QKeyEvent *event)
{
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.front().isPrint() && !holdsOnlyReportCharacters(typed)) {
        event->accept();
        refuseInput();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
