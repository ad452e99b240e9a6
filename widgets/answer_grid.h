#pragma once
// The keyed answers of a whole sheet laid out as the printed answer sheet lays them out
// (paper/answer_sheet_geometry.h): rows of ten numbered cells, each with the boxes a, b
// and c and the keyed one marked. A cell is
// chosen with the mouse or the arrow keys and changed by clicking a box or typing its
// letter; changed cells stay marked while the grid lives.

#include "paper/answer_sheet_geometry.h"
#include "questionnaire/keyed_options.h"

#include <QWidget>

class AnswerGrid : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kCellsPerRow = zorven::answer_sheet::kCellsPerRow;

    explicit AnswerGrid(const zorven::KeyedOptions &keyed, QWidget *parent = nullptr);

    const zorven::KeyedOptions &options() const { return m_options; }
    bool isChanged(int q) const;
    bool hasChanges() const;

    int currentStatement() const { return m_current; }
    void setCurrentStatement(int q);

    // Where statement q's cell and its box for `option` (1..3) are drawn.
    QRect cellRect(int q) const;
    QRect optionRect(int q, int option) const;

    QSize sizeHint() const override;

    // The option a typed character stands for: a, b, c or 1, 2, 3; of the Cyrillic
    // letters а, б and с, which a Russian keyboard gives, too. Cyrillic в is refused: as
    // the third letter of the alphabet it would be c, while the option buttons' hints
    // write b as "В". kNoOption for anything else.
    static int optionForCharacter(QChar c);

signals:
    void optionsChanged();
    void currentStatementChanged(int q);
    // A key that names no option was typed where an option was expected.
    void refusedKey();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Hit
    {
        int statement = 0; // 0 outside every cell
        int option = zorven::kNoOption;
    };

    void measure();
    void setOption(int q, int option);
    void moveBy(int step);
    Hit hitAt(const QPoint &position) const;
    void paintCell(QPainter &painter, int q) const;

    const zorven::KeyedOptions m_keyed;
    zorven::KeyedOptions m_options;
    int m_current = 1;

    int m_numberWidth = 0;
    int m_boxSize = 0;
    int m_cellWidth = 0;
    int m_rowHeight = 0;
    int m_groupGap = 0;
};
