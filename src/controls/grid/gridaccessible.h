#pragma once

class QAccessibleInterface;

namespace grid {

class TCustomDBGridEx;

// The grid as a table of the records in view (the record window the grid
// paints, not the whole result): a header cell per shown column with its
// title, a cell per shown record and column with the text painted there,
// and one footer part per footer row with that row's texts, which also is
// the table's summary. The current record is the selected row, its current
// column's cell the focused cell.
QAccessibleInterface *createGridAccessible(TCustomDBGridEx *grid);

// Tells assistive technology that the current record moved or the records
// in view changed: the cells' texts, the footers, focus and selection.
void announceCurrentRecord(TCustomDBGridEx &grid);

} // namespace grid
