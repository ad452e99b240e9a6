#pragma once
// The box that stops verification at a difference between the two keyings: the question
// and one button per choice, keyed 1, 2, 3. It has no default button and no way out but a
// choice, so that neither Enter nor a click meant for the window below can answer it, and
// keys typed ahead before the operator could see it never answer it either.

#include <QDialog>
#include <QStringList>

class DifferenceBox : public QDialog
{
    Q_OBJECT

public:
    DifferenceBox(const QString &text, const QStringList &choices, QWidget *parent = nullptr);

    // The chosen index from 0.
    int chosen() const { return m_chosen; }

public slots:
    // Escape and the close box leave the question open.
    void reject() override {}

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void choose(int index);

    int m_chosen = 0;
    int m_choiceCount;
};
