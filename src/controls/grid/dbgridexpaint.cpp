#include "controls/grid/dbgridex.h"

#include "controls/grid/cellpainting.h"
#include "data/dataset.h"
#include "data/field.h"
#include "platform/colors.h"
#include "platform/drawing.h"
#include "platform/eventcall.h"

#include <algorithm>
#include <cmath>

namespace grid {

namespace {

using platform::Rect;
namespace cl = platform::colors;

// Background of a highlighted cell that is not the current one (several
// selected records): halfway toward the target, then lightened.
QColor blendToward(const QColor &background, const QColor &target, bool towardHighlight)
{
    auto channel = [towardHighlight](int c, int g) {
        double m = c + (g - c) * 0.5;
        m = m + (225 - m) * 0.6;
        if (towardHighlight)
            m = m - (122 - m) * 0.25;
        return std::clamp(static_cast<int>(std::lround(m)), 0, 255);
    };
    return QColor(channel(background.red(), target.red()), channel(background.green(), target.green()),
                  channel(background.blue(), target.blue()));
}

// The current row's background while the grid is not focused. Some desktop
// schemes give the button shadow the highlight text's own colour (black in
// high contrast); the row then keeps the focused highlight, so it stays
// readable. The classic colours keep the shadow.
QColor unfocusedRowColor()
{
    const bool readable =
        !cl::followsPalette() || cl::contrast(cl::clHighlightText, cl::clBtnShadow) >= cl::minimumTextContrast;
    return readable ? cl::clBtnShadow : cl::clHighlight;
}

// Makes one record of the record window the one fields read from, and puts
// the previous one back however the painting ends.
class ActiveRecordScope {
public:
    ActiveRecordScope(TGridDataLinkEx &link, int index) : link_(link), saved_(link.activeRecord())
    {
        link_.setActiveRecord(index);
    }
    ~ActiveRecordScope() { link_.setActiveRecord(saved_); }
    ActiveRecordScope(const ActiveRecordScope &) = delete;
    ActiveRecordScope &operator=(const ActiveRecordScope &) = delete;

private:
    TGridDataLinkEx &link_;
    int saved_;
};

// The dotted focus rectangle, inverted over text colour on window colour.
void paintFocusFrame(QPainter &p, const Rect &rect)
{
    p.save();
    p.setPen(cl::clWindowText);
    p.setBackground(QColor(cl::clWindow));
    platform::drawFocusRect(p, rect);
    p.restore();
}

} // namespace

QColor TCustomDBGridEx::fixedLineColor() const
{
    return flat_ ? cl::clGray : cl::clBlack;
}

QColor TCustomDBGridEx::dataLineColor() const
{
    return color_.resolved() == cl::clSilver ? cl::clGray : cl::clSilver;
}

// Only the 3-D option: a colour here is a value, not a named system colour,
// and the main window's clMenu footers have the button face's value.
bool TCustomDBGridEx::footersLinedAsFixed() const
{
    return footerRowCount_ > 0 && optionsEx_.testFlag(dgxFooter3D);
}

TCustomDBGridEx::RowKind TCustomDBGridEx::kindOfRow(int row) const
{
    if (row < titleRows_)
        return RowKind::Title;
    if (footerRowCount_ > 0) {
        if (row >= firstFooterRow())
            return RowKind::Footer;
        if (row == firstFooterRow() - 1)
            return RowKind::Filler;
    }
    return row - titleRows_ < recordRows_ ? RowKind::Record : RowKind::EmptyRecord;
}

void TCustomDBGridEx::paintClient(QPainter &p, const Rect &clip)
{
    if (layoutInProgress_)
        return;
    const GridGeometry &g = cells();
    paintLines(p);
    const std::vector<int> cols = g.colsInView();
    for (int row : g.rowsInView()) {
        for (int col : cols) {
            Rect rect = g.cellRect(col, row);
            if (!rect.isEmpty() && rect.intersects(clip))
                paintCell(p, col, row, rect);
        }
    }
    int right = g.gridRight(), bottom = g.gridBottom();
    platform::fillRect(p, {right, 0, g.clientWidth(), g.clientHeight()}, color_);
    platform::fillRect(p, {0, bottom, right, g.clientHeight()}, color_);

    if (hasFocus() && options_.testFlag(dgRowSelect) && defaultDrawing_) {
        Rect current = g.rowRect(row());
        int left = g.colLeft(std::min(indicatorCols_, g.colCount() - 1));
        if (!current.isEmpty() && left >= 0) {
            current.left = left;
            paintFocusFrame(p, current);
        }
    }
}

// One-pixel lines after every column and row, in the colour of their area,
// or in the area's background when that kind of line is off.
void TCustomDBGridEx::paintLines(QPainter &p)
{
    const GridGeometry &g = cells();
    const int line = g.lineWidth();
    if (line <= 0)
        return;
    const bool colLines = options_.testFlag(dgColLines), rowLines = options_.testFlag(dgRowLines);
    const QColor fixedV = colLines ? fixedLineColor() : fixedColor_.resolved();
    const QColor fixedH = rowLines ? fixedLineColor() : fixedColor_.resolved();
    const QColor dataV = colLines ? dataLineColor() : color_.resolved();
    const QColor dataH = rowLines ? dataLineColor() : color_.resolved();
    const int right = g.gridRight(), bottom = g.gridBottom();
    const int titleBottom =
        titleRows_ ? std::min(g.rowTop(titleRows_ - 1) + g.rowHeight(titleRows_ - 1) + line, bottom) : 0;
    const int dataLeft = indicatorCols_ ? std::min(IndicatorWidth + line, right) : 0;
    // Footers lined as the fixed area also get the fixed line above them.
    const bool fixedFooters = footersLinedAsFixed();
    const int fixedFrom = fixedFooters ? firstFooterRow() - 1 : g.rowCount();
    const int footerTop = fixedFooters ? std::min(g.rowTop(fixedFrom) + g.rowHeight(fixedFrom), bottom) : bottom;

    for (int col : g.colsInView()) {
        int x = g.colLeft(col) + g.colWidth(col);
        platform::fillRect(p, {x, 0, x + line, titleBottom}, fixedV);
        platform::fillRect(p, {x, titleBottom, x + line, footerTop}, col < indicatorCols_ ? fixedV : dataV);
        platform::fillRect(p, {x, footerTop, x + line, bottom}, fixedV);
    }
    for (int row : g.rowsInView()) {
        int y = g.rowTop(row) + g.rowHeight(row);
        if (row < titleRows_ || row >= fixedFrom) {
            platform::fillRect(p, {0, y, right, y + line}, fixedH);
        } else {
            platform::fillRect(p, {0, y, std::max(0, dataLeft - line), y + line}, fixedH);
            platform::fillRect(p, {dataLeft, y, right, y + line}, dataH);
        }
    }
}

void TCustomDBGridEx::paintCell(QPainter &p, int col, int row, const Rect &rect)
{
    const RowKind kind = kindOfRow(row);
    const bool indicator = col < indicatorCols_;
    const bool fixed = kind == RowKind::Title || indicator;
    const bool framed = fixed ? optionsEx_.testFlag(dgxFixed3D) && !(indicator && kind == RowKind::Filler)
                        : kind == RowKind::Footer ? optionsEx_.testFlag(dgxFooter3D)
                        : kind == RowKind::Record ? optionsEx_.testFlag(dgxData3D)
                                                  : false;
    const int dx = framed ? 1 : 2;
    const int dy = flat_ ? dx - 1 : dx;
    const Rect content = framed ? rect.inflated(-1, -1) : rect;

    QColor background;
    if (indicator) {
        background = kind == RowKind::Filler ? color_.resolved() : fixedColor_.resolved();
        platform::fillRect(p, content, background);
        if (kind != RowKind::Title)
            paintIndicatorCell(p, row, content, framed);
    } else if (TDBGridColumnEx *column = columnOfGridCol(col)) {
        background = kind == RowKind::Title ? column->title().color() : column->color();
        if (kind == RowKind::Title)
            paintTitleCell(p, *column, content, dx, dy);
        else if (!linkActive())
            platform::fillRect(p, rect, background);
        else if (kind == RowKind::Footer)
            paintFooterCell(p, row, *column, content, dx, dy);
        else if (kind == RowKind::Record || (kind == RowKind::EmptyRecord && footerRowCount_ == 0))
            paintDataCell(p, row, *column, content, dx, dy);
        else
            platform::fillRect(p, rect, background);
    }
    if (framed) {
        paintFixedFrame(p, rect, background);
        if (kind == RowKind::Title && !indicator && useMultiTitle_) {
            TDBGridColumnEx *column = columnOfGridCol(col);
            const THeadTreeNode *leaf = column ? titleTree_.leafOf(column) : nullptr;
            if (leaf) {
                Rect textRect = content;
                textRect.top = content.bottom - leaf->Height + 3;
                paintUpperTitles(p, *leaf, rect, textRect);
            }
        }
    }
}

void TCustomDBGridEx::paintFixedFrame(QPainter &p, const Rect &rect, const QColor &background)
{
    if (!flat_) {
        platform::drawEdge(p, rect, platform::BDR_RAISEDINNER, platform::BF_RECT);
        return;
    }
    platform::fillRect(p, {rect.left, rect.bottom - 1, rect.right, rect.bottom}, background);
    platform::fillRect(p, {rect.right - 1, rect.top, rect.right, rect.bottom}, background);
    platform::fillRect(p, {rect.left, rect.top, rect.right, rect.top + 1}, cl::clBtnHighlight);
    platform::fillRect(p, {rect.left, rect.top, rect.left + 1, rect.bottom}, cl::clBtnHighlight);
}

void TCustomDBGridEx::paintIndicatorCell(QPainter &p, int row, const Rect &content, bool framed)
{
    data::DataSet *ds = dataSet();
    if (!linkActive() || row != titleRows_ + link_.activeRecord())
        return;
    IndicatorGlyph glyph = ds->state() == data::DataSetState::Edit     ? DBEDITEX
                           : ds->state() == data::DataSetState::Insert ? DBINSERTEX
                                                                       : DBGARROWEX;
    int dx = framed ? 1 : 2;
    drawIndicatorGlyph(p, glyph, content.right - IndicatorGlyphWidth - dx,
                       (content.top + content.bottom - IndicatorGlyphHeight) / 2);
}

void TCustomDBGridEx::paintTitleCell(QPainter &p, TDBGridColumnEx &column, const Rect &content, int dx, int dy)
{
    const QColor background = column.title().color();
    p.setFont(column.title().font());
    p.setPen(cl::clWindowText);
    if (!useMultiTitle_) {
        PaintCellText(p, content, background, 0, 0, false, false, TextLayout::Top, column.title().alignment(),
                      column.title().caption(), dy, dx);
        return;
    }
    platform::fillRect(p, content, background);
    const THeadTreeNode *leaf = titleTree_.leafOf(&column);
    Rect textRect = content;
    if (leaf)
        textRect.top = content.bottom - leaf->Height + 3;
    PaintCellText(p, textRect, background, 0, 0, false, true, TextLayout::Center, taCenter,
                  leaf ? leaf->Text : column.title().caption(), dy, dx);
}

// Captions of upper title levels, each centred over the columns it spans;
// only the part inside this cell is painted.
void TCustomDBGridEx::paintUpperTitles(QPainter &p, const THeadTreeNode &leaf, const Rect &cell, const Rect &textRect)
{
    const int rowLine = options_.testFlag(dgRowLines) ? 1 : 0;
    int top = textRect.top;
    p.save();
    p.setClipRect(cell.toQRect(), Qt::IntersectClip);
    for (const THeadTreeNode *node = &leaf; node->Host && node->Host->Host; node = node->Host) {
        const THeadTreeNode &parent = *node->Host;
        int left = cells().colLeft(gridColumnOf(*parent.firstLeaf().Column));
        Rect span{left, top - parent.Height - rowLine, left + parent.Width, top - rowLine};
        PaintCellText(p, span.inflated(-1, -1), parent.firstLeaf().Column->title().color(), 2, 2, false, true,
                      TextLayout::Center, taCenter, parent.Text, 0, 2);
        paintFixedFrame(p, span, parent.firstLeaf().Column->title().color());
        if (rowLine)
            platform::fillRect(p, {span.left, span.bottom, span.right, span.bottom + 1}, fixedLineColor());
        top = span.top;
    }
    p.restore();
}

QString TCustomDBGridEx::recordText(int record, const TDBGridColumnEx &column)
{
    if (record < 0 || record >= recordRows_)
        return {};
    ActiveRecordScope scope(link_, record);
    data::Field *field = column.field();
    return field ? field->displayText() : QString();
}

void TCustomDBGridEx::paintDataCell(QPainter &p, int row, TDBGridColumnEx &column, const Rect &rect, int dx, int dy)
{
    const QString text = recordText(row - titleRows_, column);
    QColor background = column.color();
    QColor textColor = cl::clWindowText;

    const bool focused = hasFocus();
    const bool rowSelect = options_.testFlag(dgRowSelect);
    const bool inCurrentRow = row == this->row();
    const bool isCurrentCell = inCurrentRow && gridColumnOf(column) == col();
    const bool rowHighlight = optionsEx_.testFlag(dgxRowHighlight) && inCurrentRow && !isCurrentCell;
    const bool focusHighlight = focused && (optionsEx_.testFlag(dgxHighlightFocus) || rowHighlight);
    const bool selected = inCurrentRow && (rowSelect || isCurrentCell || rowHighlight);
    const bool showSelection = options_.testFlag(dgAlwaysShowSelection) || focusHighlight;
    if (selected && showSelection) {
        const bool solid = isCurrentCell || rowSelect;
        if (focused) {
            if (solid) {
                background = cl::clHighlight;
                textColor = cl::clHighlightText;
            } else {
                background = blendToward(background, cl::clHighlight, true);
            }
        } else if (solid) {
            background = unfocusedRowColor();
            textColor = cl::clHighlightText;
        } else {
            background = blendToward(background, cl::clBtnShadow, false);
        }
    }
    TGridDrawState state;
    state.setFlag(gdSelected, selected && showSelection);
    state.setFlag(gdFocused, isCurrentCell && focused);
    QFont font = column.font();
    platform::callEvent(OnGetCellParams, *this, column, font, background, state);
    p.setFont(font);
    p.setPen(textColor);
    if (defaultDrawing_)
        PaintCellText(p, rect, background, 0, 0, column.endEllipsis(), column.wordWrap() && wrapAllowed_,
                      TextLayout::Top, column.alignment(), text, dy, dx);
    else
        platform::fillRect(p, rect, background);
    platform::callEvent(OnDrawColumnCell, *this, p, rect, columns_.indexOf(column), column, state);
    if (defaultDrawing_ && isCurrentCell && focused && !rowSelect)
        paintFocusFrame(p, rect);
}

void TCustomDBGridEx::paintFooterCell(QPainter &p, int row, TDBGridColumnEx &column, const Rect &rect, int dx, int dy)
{
    const int footerRow = row - firstFooterRow();
    TColumnFooterEx &footer = column.footerOfRow(footerRow);
    QFont font = footer.font();
    QColor background = footer.color();
    TAlignment alignment = footer.alignment();
    QString text = FooterText(footerRow, column);
    const int dataCol = columns_.indexOf(column);
    platform::callEvent(OnGetFooterParams, *this, dataCol, footerRow, column, font, background, alignment, text);
    p.setFont(font);
    p.setPen(footer.fontColor());
    PaintCellText(p, rect, background, 2, 0, footer.endEllipsis(), footer.wordWrap() && wrapAllowed_, TextLayout::Top,
                  alignment, text, dy, dx);
    platform::callEvent(OnDrawFooterCell, *this, p, rect, dataCol, footerRow, column);
}

} // namespace grid
