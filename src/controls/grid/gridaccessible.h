#pragma once

class QAccessibleInterface;

namespace grid {

class TCustomDBGridEx;

// The grid as a table of the dataset's records: a header cell per shown
// column with its title, a cell per record in view (the record window the
// grid paints) and column with the text painted there, and one footer part
// per footer row with that row's texts, which also is the table's summary.
// Rows and the row count are the dataset's, so a reader counts the whole
// result. The current record is the selected row, its current column's cell
// the focused cell.
QAccessibleInterface *createGridAccessible(TCustomDBGridEx *grid);

// Tells assistive technology that the current record moved or the records
// in view changed: the cells' texts and the footers, and, while the grid
// has the focus, focus and selection.
void announceCurrentRecord(TCustomDBGridEx &grid);

// Announces the current record once the grid has taken the focus: Qt tells
// of the grid itself after its focus-in handler, and a reader speaks what
// it heard last, so the record must come after the table.
void announceFocus(TCustomDBGridEx &grid);

// Speaks the footer rows (the record count) while the focus stays where it
// is: the result of a search run from a field.
void announceSummary(TCustomDBGridEx &grid);

} // namespace grid
