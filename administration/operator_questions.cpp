#include "administration/operator_questions.h"

#include "widgets/form_look.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

OperatorQuestion::OperatorQuestion(const QString &text, const QStringList &choices, QWidget *parent)
    : QDialog(parent), m_chosen(int(choices.size()) - 1)
{
    setObjectName(QStringLiteral("OperatorQuestion"));
    setWindowTitle(QStringLiteral("Тестирование на экране"));
    setFont(look::platformFont("QMessageBox"));
    auto *layout = new QVBoxLayout(this);
    auto *question = new QLabel(text, this);
    question->setObjectName(QStringLiteral("OperatorQuestionText"));
    question->setWordWrap(true);
    question->setMinimumWidth(420);
    layout->addWidget(question);
    for (int i = 0; i < choices.size(); ++i) {
        auto *button = new QPushButton(choices[i], this);
        button->setObjectName(QStringLiteral("OperatorChoice%1").arg(i + 1));
        button->setAutoDefault(false);
        button->setDefault(false);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this, [this, i] { choose(i); });
        layout->addWidget(button);
    }
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void OperatorQuestion::reject()
{
    m_chosen = findChildren<QPushButton *>().size() - 1;
    QDialog::reject();
}

void OperatorQuestion::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && !event->isAutoRepeat())
        reject();
    event->accept();
}

void OperatorQuestion::choose(int index)
{
    m_chosen = index;
    accept();
}

OperatorQuestions::UnfinishedChoice OperatorQuestions::askToLeaveUnfinished(QWidget *parent, int answered)
{
    OperatorQuestion question(
        QStringLiteral("Тестирование не закончено: дано ответов %1 из 187.\n\n"
                       "Сохранить начатое тестирование, чтобы продолжить его позже?")
            .arg(answered),
        {QStringLiteral("Сохранить и выйти"), QStringLiteral("Выйти, не сохраняя ответы"),
         QStringLiteral("Вернуться к тестированию")},
        parent);
    question.exec();
    switch (question.chosen()) {
    case 0:
        return UnfinishedChoice::Keep;
    case 1:
        return UnfinishedChoice::Drop;
    default:
        return UnfinishedChoice::Stay;
    }
}

bool OperatorQuestions::askToLeaveFinished(QWidget *parent)
{
    OperatorQuestion question(QStringLiteral("Тестирование окончено. Перейти к результатам?"),
                              {QStringLiteral("К результатам"), QStringLiteral("Остаться")}, parent);
    question.exec();
    return question.chosen() == 0;
}
