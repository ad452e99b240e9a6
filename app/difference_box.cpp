#include "app/difference_box.h"

#include "widgets/form_look.h"
#include "widgets/typed_ahead_guard.h"
#include "app/program_identity.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

DifferenceBox::DifferenceBox(const QString &text, const QStringList &choices, QWidget *parent)
    : QDialog(parent), m_choiceCount(int(choices.size()))
{
    setObjectName(QStringLiteral("DifferenceBox"));
    setWindowTitle(identity::kApplicationTitle);
    setFont(look::platformFont("QMessageBox"));
    auto *layout = new QVBoxLayout(this);
    auto *question = new QLabel(text, this);
    question->setObjectName(QStringLiteral("DifferenceText"));
    question->setWordWrap(true);
    question->setMinimumWidth(420);
    layout->addWidget(question);
    for (int i = 0; i < m_choiceCount; ++i) {
        auto *button = new QPushButton(QStringLiteral("%1: %2").arg(i + 1).arg(choices[i]), this);
        button->setObjectName(QStringLiteral("PaperChoice%1").arg(i + 1));
        button->setAutoDefault(false);
        button->setDefault(false);
        button->setFocusPolicy(Qt::NoFocus); // neither Space nor Enter presses a choice
        connect(button, &QPushButton::clicked, this, [this, i] { choose(i); });
        layout->addWidget(button);
    }
    layout->setSizeConstraint(QLayout::SetFixedSize);
    new TypedAheadGuard(this);
}

void DifferenceBox::keyPressEvent(QKeyEvent *event)
{
    const int index = event->key() - Qt::Key_1;
    if (!event->isAutoRepeat() && index >= 0 && index < m_choiceCount) {
        choose(index);
        return;
    }
    event->accept(); // Enter, Escape and the rest answer nothing
}

void DifferenceBox::choose(int index)
{
    m_chosen = index;
    accept();
}
