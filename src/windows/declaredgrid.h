#pragma once

#include "controls/grid/dbgridex.h"
#include "controls/grid/dbnavigator.h"

#include <QString>
#include <initializer_list>
#include <optional>

namespace windows {

struct ColumnDecl {
    QString fieldName;
    int width = 0;      // 0: the default width from the field
    QString title = {}; // empty: the field's display label
};

// The read-only, flat, row-selecting grid every window declares, on `source`.
// Columns, footers and the summary list are left to the caller.
grid::TDBGridEx *makeResultGrid(QWidget *parent, const QRect &geometry, data::DataSource *source);
// A record navigator of the default size at `pos`, on `source`.
grid::TDBNavigator *makeNavigator(QWidget *parent, QPoint pos, data::DataSource *source);
// What the main window's two search grids add once their columns are
// declared: fitted columns, multi-line titles, a red footer row on the menu
// colour and an active summary list.
void addSearchLook(grid::TDBGridEx &grid);
void addColumns(grid::TDBGridEx &grid, std::initializer_list<ColumnDecl> columns,
                std::optional<grid::TAlignment> titleAlignment = std::nullopt);

} // namespace windows
