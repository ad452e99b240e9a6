#pragma once
// The respondent's age field: a whole-number spin field of digits only, whose text is its
// only state, so that it holds what the operator typed ("70", "") until the focus leaves.

#include <QAbstractSpinBox>

class AgeField : public QAbstractSpinBox
{
    Q_OBJECT
    Q_PROPERTY(int minimum READ minimum WRITE setMinimum)
    Q_PROPERTY(int maximum READ maximum WRITE setMaximum)
    Q_PROPERTY(int value READ value WRITE setValue)

public:
    explicit AgeField(QWidget *parent = nullptr);

    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    void setMinimum(int minimum);
    void setMaximum(int maximum); // leaves the text as it is

    // The number on show; an empty field reads as the minimum, and a number too large to
    // hold reads as the largest there is, so that it is pulled to the maximum like any
    // other age above it.
    int value() const;
    void setValue(int value); // pulled into range

    void stepBy(int steps) override;
    QValidator::State validate(QString &input, int &pos) const override;

signals:
    // A key was refused with a beep. The beep cannot be observed everywhere; this can.
    void inputRefused();

protected:
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    bool isRefusedKey(const QKeyEvent *event) const;
    void refuseInput();
    int clamped(qint64 value) const;
    void showNumber(int value);

    int m_minimum = 0;
    int m_maximum = 99;
};
