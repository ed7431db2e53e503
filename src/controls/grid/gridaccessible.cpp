#include "controls/grid/gridaccessible.h"

#include "controls/grid/dbgridex.h"
#include "platform/accessibility.h"

#include <QAccessibleWidget>

namespace grid {

namespace {

// The table's shape, counted from the grid's layout as painting sees it.
struct TableShape {
    explicit TableShape(TCustomDBGridEx &grid)
    {
        for (int i = 0; i < grid.columns().count(); ++i)
            if (grid.columns()[i].isVisible())
                columns.push_back(&grid.columns()[i]);
        if (grid.dataLink().active()) {
            rows = std::min(grid.recordRows(), grid.dataLink().recordCount());
            firstRecord = grid.dataLink().firstRecord();
            recordCount = grid.dataLink().dataSet()->recordCount();
        }
        footers = grid.footerRowCount();
    }
    int columnCount() const { return int(columns.size()); }
    int firstCell() const { return columnCount(); }
    int firstFooter() const { return firstCell() + rows * columnCount(); }
    int partCount() const { return firstFooter() + footers; }
    int cellIndex(int row, int column) const { return firstCell() + row * columnCount() + column; }
    int currentColumn(const TCustomDBGridEx &grid) const
    {
        for (int i = 0; i < columnCount(); ++i)
            if (grid.gridColumnOf(*columns[i]) == grid.col())
                return i;
        return 0;
    }
    int currentRow(const TCustomDBGridEx &grid) const
    {
        const int row = grid.row() - grid.titleRowCount();
        return row >= 0 && row < rows ? row : -1;
    }

    std::vector<TDBGridColumnEx *> columns;
    int rows = 0;        // rows in view
    int firstRecord = 0; // the dataset's row shown at the top
    int recordCount = 0; // rows of the dataset
    int footers = 0;
};

QString footerRowText(TCustomDBGridEx &grid, const TableShape &shape, int footerRow)
{
    QStringList texts;
    for (TDBGridColumnEx *column : shape.columns)
        if (QString text = grid.FooterText(footerRow, *column); !text.isEmpty())
            texts << text;
    return texts.join(QLatin1Char(' '));
}

// A header cell, a record's cell or a footer row, by its index among the
// table's parts.
class GridPartAccessible : public platform::AccessiblePart, public QAccessibleTableCellInterface {
public:
    GridPartAccessible(TCustomDBGridEx *grid, int index) : AccessiblePart(grid, index) {}

    QAccessible::Role role() const override
    {
        const TableShape shape(grid());
        if (partIndex() < shape.firstCell())
            return QAccessible::ColumnHeader;
        return partIndex() < shape.firstFooter() ? QAccessible::Cell : QAccessible::Footer;
    }
    // A part kept from a larger table than now shown reads as empty. A cell
    // is named with its column's title, as screen readers read a whole row
    // and leave out the headers there: "Телефон 12-34-56", "Абонент ИВАНОВ".
    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        const TableShape shape(grid());
        // A reader says the row but not where it lies in the result.
        if (t == QAccessible::Description && role() == QAccessible::Cell)
            return QStringLiteral("Запись %1 из %2").arg(rowIndex() + 1).arg(shape.recordCount);
        if (t != QAccessible::Name)
            return {};
        if (partIndex() < shape.firstCell())
            return shape.columns[partIndex()]->title().caption();
        if (partIndex() >= shape.firstFooter())
            return footerRowText(grid(), shape, partIndex() - shape.firstFooter());
        const TDBGridColumnEx &column = *shape.columns[columnIndex()];
        const QString value = grid().recordText(windowRow(), column);
        const QString title = column.title().caption();
        return value.isEmpty() || title.isEmpty() ? title + value : title + QLatin1Char(' ') + value;
    }
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const TableShape shape(grid());
        const int offset = grid().frameWidth();
        QRect cell;
        if (partIndex() < shape.firstCell())
            cell = grid().cells().cellRect(grid().gridColumnOf(*shape.columns[partIndex()]), 0).toQRect();
        else if (partIndex() < shape.firstFooter())
            cell =
                grid()
                    .cells()
                    .cellRect(grid().gridColumnOf(*shape.columns[columnIndex()]), grid().titleRowCount() + windowRow())
                    .toQRect();
        else
            cell = grid()
                       .cells()
                       .rowRect(grid().cells().rowCount() - shape.footers + partIndex() - shape.firstFooter())
                       .toQRect();
        return toScreen(cell.translated(offset, offset));
    }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.invisible = !owner()->isVisible();
        if (role() == QAccessible::Cell) {
            const TableShape shape(grid());
            s.selectable = true;
            s.selected = isSelected();
            s.focusable = true;
            s.focused = grid().hasFocus() && s.selected && columnIndex() == shape.currentColumn(grid());
        }
        return s;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableCellInterface && role() == QAccessible::Cell)
            return static_cast<QAccessibleTableCellInterface *>(this);
        return nullptr;
    }

    bool isSelected() const override { return windowRow() == TableShape(grid()).currentRow(grid()); }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QList<QAccessibleInterface *> columnHeaderCells() const override { return {parent()->child(columnIndex())}; }
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override
    {
        const TableShape shape(grid());
        return (partIndex() - shape.firstCell()) % std::max(1, shape.columnCount());
    }
    // The dataset's row, so that a reader counts the whole result.
    int rowIndex() const override { return TableShape(grid()).firstRecord + windowRow(); }
    QAccessibleInterface *table() const override { return parent(); }

protected:
    int partCount() const override { return TableShape(grid()).partCount(); }

private:
    TCustomDBGridEx &grid() const { return *static_cast<TCustomDBGridEx *>(owner()); }
    int windowRow() const
    {
        const TableShape shape(grid());
        return (partIndex() - shape.firstCell()) / std::max(1, shape.columnCount());
    }
};

class GridAccessible : public platform::AccessibleWithParts, public QAccessibleTableInterface {
public:
    explicit GridAccessible(TCustomDBGridEx *grid) : AccessibleWithParts(grid, QAccessible::Table) {}

    int childCount() const override { return TableShape(grid()).partCount(); }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Description && widget()->accessibleDescription().isEmpty())
            return summary() ? summary()->text(QAccessible::Name) : QString();
        return AccessibleWithParts::text(t);
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface *>(this);
        return AccessibleWithParts::interface_cast(type);
    }

    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override
    {
        const TableShape shape(grid());
        return shape.footers ? child(shape.firstFooter()) : nullptr;
    }
    // Rows are the dataset's; only those in view have cells.
    QAccessibleInterface *cellAt(int row, int column) const override
    {
        const TableShape shape(grid());
        row -= shape.firstRecord;
        if (row < 0 || row >= shape.rows || column < 0 || column >= shape.columnCount())
            return nullptr;
        return child(shape.cellIndex(row, column));
    }
    QAccessibleInterface *focusChild() const override
    {
        const TableShape shape(grid());
        const int row = shape.currentRow(grid());
        if (!grid().hasFocus() || row < 0 || shape.columns.empty())
            return nullptr;
        return child(shape.cellIndex(row, shape.currentColumn(grid())));
    }
    int selectedCellCount() const override { return int(selectedCells().size()); }
    QList<QAccessibleInterface *> selectedCells() const override
    {
        QList<QAccessibleInterface *> cells;
        for (int row : selectedRows())
            for (int column = 0; column < columnCount(); ++column)
                cells << cellAt(row, column);
        return cells;
    }
    QString columnDescription(int column) const override
    {
        const TableShape shape(grid());
        return column >= 0 && column < shape.columnCount() ? shape.columns[column]->title().caption() : QString();
    }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return int(selectedRows().size()); }
    int columnCount() const override { return TableShape(grid()).columnCount(); }
    int rowCount() const override { return TableShape(grid()).recordCount; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override
    {
        const TableShape shape(grid());
        const int current = shape.currentRow(grid());
        return current >= 0 ? QList<int>{shape.firstRecord + current} : QList<int>{};
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override { return row >= 0 && selectedRows().contains(row); }
    // The selection is the dataset's current record; it moves by navigation only.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    // Parts resolve their content on every call; nothing to rebuild.
    void modelChange(QAccessibleTableModelChangeEvent *) override {}

protected:
    QAccessibleInterface *createPart(int index) const override { return new GridPartAccessible(&grid(), index); }

private:
    TCustomDBGridEx &grid() const { return *static_cast<TCustomDBGridEx *>(widget()); }
};

} // namespace

QAccessibleInterface *createGridAccessible(TCustomDBGridEx *grid)
{
    return new GridAccessible(grid);
}

void announceCurrentRecord(TCustomDBGridEx &grid)
{
    if (!platform::accessibleEventsWanted())
        return;
    const TableShape shape(grid);
    if (shape.rows > 0) {
        QAccessibleTableModelChangeEvent cells(&grid, QAccessibleTableModelChangeEvent::DataChanged);
        cells.setFirstRow(shape.firstRecord);
        cells.setLastRow(shape.firstRecord + shape.rows - 1);
        cells.setFirstColumn(0);
        cells.setLastColumn(shape.columnCount() - 1);
        platform::sendAccessibleEvent(cells);
    }
    for (int footer = shape.firstFooter(); footer < shape.partCount(); ++footer) {
        QAccessibleEvent renamed(&grid, QAccessible::NameChanged);
        renamed.setChild(footer);
        platform::sendAccessibleEvent(renamed);
    }
    // Every grid on a data source follows its record; only the one the user
    // is in speaks.
    const int row = shape.currentRow(grid);
    if (!grid.hasFocus() || row < 0 || shape.columns.empty())
        return;
    for (QAccessible::Event type : {QAccessible::Focus, QAccessible::Selection}) {
        QAccessibleEvent event(&grid, type);
        event.setChild(shape.cellIndex(row, shape.currentColumn(grid)));
        platform::sendAccessibleEvent(event);
    }
}

void announceFocus(TCustomDBGridEx &grid)
{
    QMetaObject::invokeMethod(
        &grid, [&grid] { announceCurrentRecord(grid); }, Qt::QueuedConnection);
}

void announceSummary(TCustomDBGridEx &grid)
{
    const TableShape shape(grid);
    QStringList rows;
    for (int footer = 0; footer < shape.footers; ++footer)
        rows << footerRowText(grid, shape, footer);
    platform::announce(&grid, rows.join(QLatin1String(". ")));
}

} // namespace grid
