#include "windows/declaredgrid.h"

#include "platform/colors.h"
#include "platform/fonts.h"

namespace windows {

grid::TDBGridEx *makeResultGrid(QWidget *parent, const QRect &geometry, data::DataSource *source)
{
    using namespace grid;
    auto *result = new TDBGridEx(parent);
    result->setGeometry(geometry);
    result->setFont(platform::defaultFont());
    result->setDataSource(source);
    result->setFlat(true);
    result->setReadOnly(true);
    result->setOptions({dgTitles, dgIndicator, dgColLines, dgRowLines, dgTabs, dgRowSelect, dgAlwaysShowSelection,
                        dgConfirmDelete, dgCancelOnExit});
    result->setFooterRowCount(0);
    return result;
}

grid::TDBNavigator *makeNavigator(QWidget *parent, QPoint pos, data::DataSource *source)
{
    auto *navigator = new grid::TDBNavigator(parent);
    navigator->setGeometry({pos, QSize(grid::TDBNavigator::DefaultWidth, grid::TDBNavigator::DefaultHeight)});
    navigator->setDataSource(source);
    return navigator;
}

void addSearchLook(grid::TDBGridEx &grid)
{
    using namespace grid;
    grid.setAutoFitColWidths(true);
    grid.setOptionsEx({dgxFixed3D, dgxHighlightFocus, dgxClearSelection, dgxRowHighlight});
    grid.setUseMultiTitle(true);
    grid.setFooterRowCount(1);
    grid.setFooterColor(platform::colors::clMenu);
    grid.setFooterFont(platform::defaultFont());
    grid.setFooterFontColor(platform::colors::clRed);
    grid.setTitleFont(platform::defaultFont());
    grid.sumList().setActive(true);
}

void addColumns(grid::TDBGridEx &grid, std::initializer_list<ColumnDecl> columns,
                std::optional<grid::TAlignment> titleAlignment)
{
    for (const ColumnDecl &decl : columns) {
        grid::TDBGridColumnEx &column = grid.columns().add();
        column.setFieldName(decl.fieldName);
        if (decl.width > 0)
            column.setWidth(decl.width);
        if (!decl.title.isEmpty())
            column.title().setCaption(decl.title);
        if (titleAlignment)
            column.title().setAlignment(*titleAlignment);
    }
}

} // namespace windows
