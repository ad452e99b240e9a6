#pragma once
// The questions put to the operator who leaves the respondent's screen, behind one seam so
// that tests can answer them. Only a click answers a question: the respondent may still
// be pressing keys, and a key meant for a statement must not decide it.

#include <QDialog>
#include <QStringList>

class QWidget;

class OperatorQuestions
{
public:
    virtual ~OperatorQuestions() = default;

    // Leaving before the last statement: keep the answers for later, drop them, or stay.
    enum class UnfinishedChoice { Keep, Drop, Stay };
    virtual UnfinishedChoice askToLeaveUnfinished(QWidget *parent, int answered);
    // Leaving after the last statement: true to go to the results.
    virtual bool askToLeaveFinished(QWidget *parent);
};

// A question with one button per choice, none of them default and none taking the focus:
// Enter, Space and the answer keys answer nothing; Escape and the close box choose the
// last choice, which is always "stay".
class OperatorQuestion : public QDialog
{
    Q_OBJECT

public:
    OperatorQuestion(const QString &text, const QStringList &choices, QWidget *parent = nullptr);

    int chosen() const { return m_chosen; }

public slots:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void choose(int index);

    int m_chosen;
};
