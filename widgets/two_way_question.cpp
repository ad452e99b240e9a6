#include "widgets/two_way_question.h"

#include "widgets/typed_ahead_guard.h"

#include <QPushButton>

bool askTwoWay(QWidget *parent, const TwoWayQuestion &question)
{
    QMessageBox box(question.icon, question.title, question.text, QMessageBox::NoButton, parent);
    QPushButton *doIt = box.addButton(question.doIt, QMessageBox::AcceptRole);
    QPushButton *leaveIt = box.addButton(question.leaveIt, QMessageBox::RejectRole);
    box.setDefaultButton(question.doItIsDefault ? doIt : leaveIt);
    box.setEscapeButton(leaveIt);
    if (question.guardTypedAhead)
        new TypedAheadGuard(&box);
    box.exec();
    return box.clickedButton() == doIt;
}
