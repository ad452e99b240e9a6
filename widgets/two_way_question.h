#pragma once
// A question with two answers, as every front end asks it: a box with the question, the
// button that does it and the button that leaves things as they are. Esc always means the
// second; Enter means whichever is named the default, so that a careless Enter falls on
// the safe answer wherever nothing is lost by it.

#include <QMessageBox>
#include <QString>

class QWidget;

struct TwoWayQuestion {
    QString title;
    QString text;
    QString doIt;          // the answer that acts
    QString leaveIt;       // the answer that keeps things as they are; also Esc
    bool doItIsDefault = false;
    QMessageBox::Icon icon = QMessageBox::Question;
    // The box opens on a key the operator pressed while keying: keys typed ahead must not
    // answer it (see typed_ahead_guard.h).
    bool guardTypedAhead = false;
};

// True when the acting answer was chosen.
bool askTwoWay(QWidget *parent, const TwoWayQuestion &question);
