#include "controls/grid/dbgridex.h"

#include <QScrollBar>

namespace grid {

void TCustomDBGridEx::setDataSource(data::DataSource *source)
{
    link_.setDataSource(source); // the link reports the change of active state
}

void TCustomDBGridEx::setOptions(TDBGridOptions options)
{
    if (options.testFlag(dgRowSelect))
        options &= ~TDBGridOptions{dgEditing, dgAlwaysShowEditor};
    if (options == options_)
        return;
    static const TDBGridOptions layoutOptions{dgEditing,  dgAlwaysShowEditor, dgTitles,    dgIndicator,
                                              dgColLines, dgRowLines,         dgRowSelect, dgAlwaysShowSelection};
    bool relayout = (options ^ options_).testAnyFlags(layoutOptions);
    options_ = options;
    if (relayout)
        ReflowLayout();
    else
        invalidateGrid();
}

void TCustomDBGridEx::setOptionsEx(TDBGridExOptions options)
{
    if (options == optionsEx_)
        return;
    optionsEx_ = options;
    ReflowLayout();
}

void TCustomDBGridEx::setAutoFitColWidths(bool on)
{
    if (on == autoFit_)
        return;
    autoFit_ = on;
    if (!loading_) {
        if (on) {
            takeAutoFitBases();
        } else {
            LockLayout();
            for (int i = 0; i < columns_.count(); ++i)
                columns_[i].setWidth(columns_[i].autoFitBaseWidth());
            UnlockLayout();
        }
    }
    ReflowLayout();
}

void TCustomDBGridEx::takeAutoFitBases()
{
    for (int i = 0; i < columns_.count(); ++i)
        columns_[i].setAutoFitBaseWidth(columns_[i].width());
}

void TCustomDBGridEx::setMinAutoFitWidth(int width)
{
    if (width < 0 || width == minAutoFitWidth_)
        return;
    minAutoFitWidth_ = width;
    ReflowLayout();
}

void TCustomDBGridEx::setUseMultiTitle(bool on)
{
    if (on == useMultiTitle_)
        return;
    useMultiTitle_ = on;
    ReflowLayout();
}

void TCustomDBGridEx::setVTitleMargin(int margin)
{
    if (margin < 0 || margin == vTitleMargin_)
        return;
    vTitleMargin_ = margin;
    ReflowLayout();
}

void TCustomDBGridEx::setFlat(bool on)
{
    if (on == flat_)
        return;
    flat_ = on;
    setFrameWidth(on ? 1 : 2);
    ReflowLayout();
}

void TCustomDBGridEx::setReadOnly(bool on)
{
    if (on == readOnly_)
        return;
    readOnly_ = on;
    invalidateGrid();
}

void TCustomDBGridEx::setFooterRowCount(int count)
{
    if (count < 0 || count == footerRowCount_)
        return;
    footerRowCount_ = count;
    ReflowLayout();
}

void TCustomDBGridEx::setFooterColor(const platform::colors::Color &color)
{
    if (!loading_)
        parentColor_ = false;
    if (color == footerColor_)
        return;
    footerColor_ = color;
    footerChanged();
}

QFont TCustomDBGridEx::footerFont() const
{
    return footerFont_.value([this] { return font(); });
}

void TCustomDBGridEx::setFooterFont(const QFont &font)
{
    if (!loading_)
        parentFont_ = false;
    if (footerFont_.assign(font))
        footerChanged();
}

void TCustomDBGridEx::setFooterFontColor(const platform::colors::Color &color)
{
    if (color == footerFontColor_)
        return;
    footerFontColor_ = color;
    footerChanged();
}

QFont TCustomDBGridEx::titleFont() const
{
    return titleFont_.value([this] { return font(); });
}

void TCustomDBGridEx::setTitleFont(const QFont &font)
{
    if (!loading_)
        parentFont_ = false;
    if (titleFont_.assign(font) && options_.testFlag(dgTitles))
        ReflowLayout();
}

void TCustomDBGridEx::setColor(const platform::colors::Color &color)
{
    if (color == color_)
        return;
    color_ = color;
    invalidateGrid();
}

void TCustomDBGridEx::setParentColor(bool on)
{
    if (on == parentColor_)
        return;
    parentColor_ = on;
    takeParentColor();
}

void TCustomDBGridEx::takeParentColor()
{
    if (!parentColor_ || !parentWidget())
        return;
    color_ = footerColor_ = parentWidget()->palette().color(QPalette::Window);
    invalidateGrid();
}

void TCustomDBGridEx::setLayoutValue(int &member, int value)
{
    if (value < 0 || value == member)
        return;
    member = value;
    ReflowLayout();
}

void TCustomDBGridEx::setRowHeight(int height)
{
    setLayoutValue(rowHeight_, height);
}

void TCustomDBGridEx::setRowLines(int lines)
{
    setLayoutValue(rowLines_, lines);
}

void TCustomDBGridEx::setTitleHeight(int height)
{
    setLayoutValue(titleHeight_, height);
}

void TCustomDBGridEx::setTitleLines(int lines)
{
    setLayoutValue(titleLines_, lines);
}

void TCustomDBGridEx::setParentFont(bool on)
{
    if (on == parentFont_)
        return;
    parentFont_ = on;
    takeParentFont();
}

void TCustomDBGridEx::takeParentFont()
{
    if (!parentFont_ || !parentWidget())
        return;
    // The title and footer fonts follow the grid's again.
    titleFont_.reset();
    footerFont_.reset();
    setFont(parentWidget()->font());
    ReflowLayout();
}

void TCustomDBGridEx::setDefaultDrawing(bool on)
{
    if (on == defaultDrawing_)
        return;
    defaultDrawing_ = on;
    invalidateGrid();
}

void TCustomDBGridEx::setFixedColor(const platform::colors::Color &color)
{
    if (color == fixedColor_)
        return;
    fixedColor_ = color;
    invalidateGrid();
}

void TCustomDBGridEx::setHorzScrollBar(const TDBGridExScrollBar &settings)
{
    horzScrollBar_ = settings;
    horizontalBar()->setTracking(settings.Tracking);
    if (updateHorizontalScrollBar()) {
        RecountVisibleRows();
        scrollBarMayHaveChanged(updateVerticalScrollBar());
    }
}

void TCustomDBGridEx::setVertScrollBar(const TVertDBGridExScrollBar &settings)
{
    vertScrollBar_ = settings;
    verticalBar()->setTracking(settings.Tracking); // SliderMove while the thumb is dragged
    scrollBarMayHaveChanged(updateVerticalScrollBar());
}

} // namespace grid
