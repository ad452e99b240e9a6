#include "app/age_field.h"

#include "entry/age.h"

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
    return zorven::wholeNumberFromText(text()).value_or(m_minimum);
}

void AgeField::setValue(int value)
{
    showNumber(clamped(value));
}

void AgeField::stepBy(int steps)
{
    showNumber(clamped(value() + steps));
}

QValidator::State AgeField::validate(QString &input, int &) const
{
    const bool allowed = std::all_of(input.cbegin(), input.cend(),
                                     [this](QChar c) { return isAllowedCharacter(c); });
    return allowed ? QValidator::Acceptable : QValidator::Invalid;
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
        QApplication::beep();
        emit inputRefused();
        return;
    }
    QAbstractSpinBox::keyPressEvent(event);
}

void AgeField::focusOutEvent(QFocusEvent *event)
{
    if (const std::optional<int> number = zorven::wholeNumberFromText(text());
        number && clamped(*number) != *number)
        showNumber(clamped(*number));
    QAbstractSpinBox::focusOutEvent(event);
}

// The decimal separator is taken from the current regional settings each time, so a
// change of settings while the program runs is followed.
bool AgeField::isAllowedCharacter(QChar c) const
{
    const bool digitOrSign = (c >= u'0' && c <= u'9') || c == u'+' || c == u'-';
    return digitOrSign || locale().decimalPoint() == QString(c);
}

bool AgeField::isRefusedKey(const QKeyEvent *event) const
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return true;
    const QString typed = event->text();
    if (typed.isEmpty() || !typed.front().isPrint())
        return false; // editing and navigation keys, shortcuts such as Ctrl+V
    return !std::all_of(typed.cbegin(), typed.cend(),
                        [this](QChar c) { return isAllowedCharacter(c); });
}

int AgeField::clamped(int value) const
{
    return std::clamp(value, m_minimum, m_maximum);
}

void AgeField::showNumber(int value)
{
    lineEdit()->setText(QString::number(value));
}
