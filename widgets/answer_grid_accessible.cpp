#include "widgets/answer_grid_accessible.h"

#include "widgets/answer_grid.h"
#include "questionnaire/statements.h"

#include <QAccessibleWidget>
#include <QPointer>

#include <array>

namespace {

constexpr std::array<QChar, 3> kLetters = {u'a', u'b', u'c'};

// One cell. It has no object of its own: the grid draws every cell.
class CellInterface : public QAccessibleInterface
{
public:
    CellInterface(AnswerGrid *grid, int q) : m_grid(grid), m_statement(q) {}

    bool isValid() const override { return !m_grid.isNull(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_grid->window()->windowHandle(); }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_grid.data());
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    void setText(QAccessible::Text, const QString &) override {}
    QAccessible::Role role() const override { return QAccessible::ListItem; }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return answer_grid_accessible::cellName(*m_grid, m_statement);
        if (t == QAccessible::Description)
            return zorven::statementText(m_statement);
        return {};
    }

    QRect rect() const override
    {
        const QRect cell = m_grid->cellRect(m_statement);
        return QRect(m_grid->mapToGlobal(cell.topLeft()), cell.size());
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.focusable = true;
        state.selectable = true;
        const bool current = m_grid->currentStatement() == m_statement;
        state.selected = current;
        state.focused = current && m_grid->hasFocus();
        return state;
    }

private:
    QPointer<AnswerGrid> m_grid;
    int m_statement;
};

// The grid: its cells are made when first asked for and live as long as it does.
class GridInterface : public QAccessibleWidget
{
public:
    explicit GridInterface(AnswerGrid *grid) : QAccessibleWidget(grid, QAccessible::List)
    {
        m_cells.fill(0);
    }

    ~GridInterface() override
    {
        for (const QAccessible::Id id : m_cells)
            if (id != 0)
                QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return zorven::kStatementCount; }

    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        QAccessible::Id &id = m_cells[std::size_t(index)];
        if (id == 0)
            id = QAccessible::registerAccessibleInterface(new CellInterface(grid(), index + 1));
        return QAccessible::accessibleInterface(id);
    }

    int indexOfChild(const QAccessibleInterface *cell) const override
    {
        for (int index = 0; index < childCount(); ++index)
            if (m_cells[std::size_t(index)] != 0 && child(index) == cell)
                return index;
        return -1;
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint at = grid()->mapFromGlobal(QPoint(x, y));
        for (int q = 1; q <= zorven::kStatementCount; ++q)
            if (grid()->cellRect(q).contains(at))
                return child(q - 1);
        return nullptr;
    }

    QAccessibleInterface *focusChild() const override
    {
        return grid()->hasFocus() ? child(grid()->currentStatement() - 1) : nullptr;
    }

private:
    AnswerGrid *grid() const { return static_cast<AnswerGrid *>(widget()); }

    mutable std::array<QAccessible::Id, zorven::kStatementCount> m_cells{};
};

QAccessibleInterface *gridFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("AnswerGrid") && object && object->isWidgetType())
        return new GridInterface(static_cast<AnswerGrid *>(object));
    return nullptr;
}

void notify(AnswerGrid *grid, int q, QAccessible::Event event)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleInterface *cell = QAccessible::queryAccessibleInterface(grid)->child(q - 1);
    QAccessibleEvent accessibleEvent(cell, event);
    QAccessible::updateAccessibility(&accessibleEvent);
}

} // namespace

namespace answer_grid_accessible {

QString cellName(const AnswerGrid &grid, int q)
{
    const int option = grid.options().at(q);
    QString name = QStringLiteral("Утверждение %1: ").arg(q);
    name += option == zorven::kNoOption ? QStringLiteral("нет ответа")
                                        : QStringLiteral("ответ ") + kLetters[std::size_t(option - 1)];
    if (grid.isChanged(q))
        name += QStringLiteral(", изменён");
    return name;
}

void install()
{
    static const bool installed = (QAccessible::installFactory(gridFactory), true);
    Q_UNUSED(installed);
}

void notifyFocus(AnswerGrid *grid, int q)
{
    notify(grid, q, QAccessible::Focus);
}

void notifyChanged(AnswerGrid *grid, int q)
{
    notify(grid, q, QAccessible::NameChanged);
}

} // namespace answer_grid_accessible
