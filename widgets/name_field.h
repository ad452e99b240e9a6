#pragma once
// The respondent's "Фамилия И.О." field. The surname goes into the report, whose text and
// file name are in code page 1251, so the field takes only what that code page can hold.

#include <QLineEdit>

class NameField : public QLineEdit
{
    Q_OBJECT

public:
    explicit NameField(QWidget *parent = nullptr);

    // Set by the operator's first change of the text; only the next sheet clears it.
    bool isChangedByUser() const { return m_changedByUser; }

    // Empty and unchanged, as at start, for the next sheet.
    void startAgain();

    // A key or pasted character the report cannot hold was left out.
    void refuseInput();

signals:
    // A typed or pasted character was refused with a beep. The beep cannot be observed everywhere; this can.
    void inputRefused();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_changedByUser = false;
};
