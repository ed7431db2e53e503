#include "controls/grid/columndefvalues.h"

#include "controls/grid/dbgridex.h"

namespace grid {

TAlignment TColumnTitleDefValuesEx::alignment() const
{
    return alignment_.value([this] { return grid_.useMultiTitle() ? taCenter : taLeftJustify; });
}

void TColumnTitleDefValuesEx::setAlignment(TAlignment alignment)
{
    if (alignment_.assign(alignment))
        grid_.columnsChanged();
}

QColor TColumnTitleDefValuesEx::color() const
{
    return color_.value([this] { return grid_.fixedColor(); });
}

void TColumnTitleDefValuesEx::setColor(const platform::colors::Color &color)
{
    if (color_.assign(color))
        grid_.columnsChanged();
}

void TColumnDefValuesEx::setEndEllipsis(bool on)
{
    if (on == endEllipsis_)
        return;
    endEllipsis_ = on;
    grid_.columnsChanged();
}

} // namespace grid
