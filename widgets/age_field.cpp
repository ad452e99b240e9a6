#include "widgets/age_field.h"

#include "questionnaire/respondent.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

AgeField::AgeField(QWidget *parent) : QAbstractSpinBox(parent)
{
    showNumber(m_minimum);
}

void AgeField::setMinimum(int minimum)
{
    m_minimum = minimum;
    m_maximum = std::max(m_maximum, minimum);
}

void AgeField::setMaximum(int maximum)
{
    m_maximum = maximum;
    m_minimum = std::min(m_minimum, maximum);
}

int AgeField::value() const
{
    return zorven::ageFromDigits(text()).value_or(m_minimum);
}

void AgeField::setValue(int value)
{
    showNumber(clamped(value));
}

void AgeField::stepBy(int steps)
{
    // Stepped in 64 bits: a number too large to hold reads as the largest int.
    showNumber(clamped(qint64(value()) + steps));
}

// Pasted or dropped text that is not all digits is refused whole: taking its digits alone
// would turn "75.5" into 755.
QValidator::State AgeField::validate(QString &input, int &) const
{
    if (std::all_of(input.cbegin(), input.cend(), zorven::isAgeDigit))
        return QValidator::Acceptable;
    // The field's own texts are all digits, so only the operator's input is refused here.
    const_cast<AgeField *>(this)->refuseInput();
    return QValidator::Invalid;
}

// Both arrows always act, even on a value outside the range, which they pull back into it.
QAbstractSpinBox::StepEnabled AgeField::stepEnabled() const
{
    return StepUpEnabled | StepDownEnabled;
}

void AgeField::keyPressEvent(QKeyEvent *event)
{
    if (isRefusedKey(event)) {
        event->accept();
        refuseInput();
        return;
    }
    QAbstractSpinBox::keyPressEvent(event);
}

void AgeField::focusOutEvent(QFocusEvent *event)
{
    if (const std::optional<int> number = zorven::ageFromDigits(text());
        number && clamped(*number) != *number)
        showNumber(clamped(*number));
    QAbstractSpinBox::focusOutEvent(event);
}

bool AgeField::isRefusedKey(const QKeyEvent *event) const
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return true;
    const QString typed = event->text();
    if (typed.isEmpty() || !typed.front().isPrint())
        return false; // editing and navigation keys, shortcuts such as Ctrl+V
    return !std::all_of(typed.cbegin(), typed.cend(), zorven::isAgeDigit);
}

void AgeField::refuseInput()
{
    QApplication::beep();
    emit inputRefused();
}

int AgeField::clamped(qint64 value) const
{
    return int(std::clamp<qint64>(value, m_minimum, m_maximum));
}

void AgeField::showNumber(int value)
{
    lineEdit()->setText(QString::number(value));
}

// The edit inside is what takes the focus: a screen reader names it as the field, whose
// name comes from its label.
void AgeField::showEvent(QShowEvent *event)
{
    lineEdit()->setAccessibleName(QAccessible::queryAccessibleInterface(this)->text(QAccessible::Name));
    QAbstractSpinBox::showEvent(event);
}
