#pragma once
// «Ответы бланка…»: the sheet's keyed answers beside the paper sheet, to be checked and
// corrected. Accepting hands the corrected letters back; the window scores them again.

#include "questionnaire/keyed_options.h"

#include <QDialog>

class AnswerGrid;
class QLabel;
class QPushButton;
class QScrollArea;

class AnswersDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AnswersDialog(const zorven::KeyedOptions &keyed, QWidget *parent = nullptr);

    const zorven::KeyedOptions &options() const;

private:
    void showStatement(int q);
    void fitScreen();
    QSize wholeSize();

    // Smaller than this, the cells' letters would be hard to tell apart.
    static constexpr qreal kSmallestGridPointSize = 7;

    AnswerGrid *m_grid;
    QScrollArea *m_scroller;
    QLabel *m_statement;
    QPushButton *m_rescore;
};
