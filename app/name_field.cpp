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

// A name pasted from a table or a letter may carry tabs and line breaks between its
// words; each becomes one blank, so that the words do not run together.
void blankOutSeparators(QString &text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    for (QChar &unit : text) {
        if (unit == u'\t' || unit == u'\n' || unit == u'\r')
            unit = u' ';
    }
}

// Pasted, dropped or composed text reaches the field without a key press; what the report
// cannot hold is taken out of it, with the beep a refused key gives.
class ReportTextValidator : public QValidator
{
public:
    explicit ReportTextValidator(NameField *field) : QValidator(field), m_field(field) {}

    State validate(QString &input, int &pos) const override
    {
        QString beforeCursor = input.left(pos);
        blankOutSeparators(beforeCursor);
        blankOutSeparators(input);
        const auto keptBeforeCursor =
            std::count_if(beforeCursor.cbegin(), beforeCursor.cend(), isReportUnit);
        const qsizetype offered = input.size();
        input.removeIf([](QChar unit) { return !isReportUnit(unit); });
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
