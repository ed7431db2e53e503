#pragma once

#include "controls/grid/columndefvalues.h"
#include "controls/grid/customgrid.h"
#include "controls/grid/dbgridcolumn.h"
#include "controls/grid/gridtypes.h"
#include "controls/grid/sumlist.h"
#include "controls/grid/titletree.h"
#include "data/datasource.h"
#include "platform/wheelnotches.h"

#include "platform/colors.h"
#include <QFont>
#include <functional>
#include <memory>
#include <vector>

namespace grid {

class TCustomDBGridEx;

// The grid's view of its data source.
class TGridDataLinkEx : public data::DataLink {
public:
    explicit TGridDataLinkEx(TCustomDBGridEx &grid) : grid_(grid) {}

protected:
    void activeChanged() override;
    void dataSetChanged() override;
    void dataSetScrolled(int distance) override;
    void recordChanged(data::Field *field) override;
    void layoutChanged() override;
    void editingChanged() override;

private:
    TCustomDBGridEx &grid_;
};

// Settings of one scroll bar; with Tracking the grid follows the dragged
// thumb, without it the thumb's release.
struct TDBGridExScrollBar {
    bool Visible = true;
    TScrollBarVisibleModeEx VisibleMode = sbAutoShowEx;
    bool Tracking = false;
};
using TVertDBGridExScrollBar = TDBGridExScrollBar; // the vertical bar has the same settings

// The read-only data-bound grid of every result list: one column per declared
// column, one row per record of the record window (the rows that fit), a
// title row, an indicator column, and footer rows fed by the summary list.
// It never scrolls rows of its own; every move is a move of the dataset.
//
// Set-up: call beginLoading(), set properties and columns, then loaded();
// or set them one by one, each re-running the layout.
class TCustomDBGridEx : public CustomGrid {
    Q_OBJECT
    Q_PROPERTY(data::DataSource *DataSource READ dataSource WRITE setDataSource)
    Q_PROPERTY(TDBGridOptions Options READ options WRITE setOptions)
    Q_PROPERTY(TDBGridExOptions OptionsEx READ optionsEx WRITE setOptionsEx)
    Q_PROPERTY(bool AutoFitColWidths READ autoFitColWidths WRITE setAutoFitColWidths)
    Q_PROPERTY(int MinAutoFitWidth READ minAutoFitWidth WRITE setMinAutoFitWidth)
    Q_PROPERTY(bool UseMultiTitle READ useMultiTitle WRITE setUseMultiTitle)
    Q_PROPERTY(int VTitleMargin READ vTitleMargin WRITE setVTitleMargin)
    Q_PROPERTY(bool Flat READ isFlat WRITE setFlat)
    Q_PROPERTY(bool ReadOnly READ isReadOnly WRITE setReadOnly)
    Q_PROPERTY(int FooterRowCount READ footerRowCount WRITE setFooterRowCount)
    Q_PROPERTY(QColor FooterColor READ footerColor WRITE setFooterColor)
    Q_PROPERTY(QFont FooterFont READ footerFont WRITE setFooterFont)
    Q_PROPERTY(QFont TitleFont READ titleFont WRITE setTitleFont)
    Q_PROPERTY(QColor Color READ color WRITE setColor)
    Q_PROPERTY(bool ParentColor READ parentColor WRITE setParentColor)
    Q_PROPERTY(QColor FixedColor READ fixedColor WRITE setFixedColor)
    Q_PROPERTY(int RowHeight READ rowHeight WRITE setRowHeight)
    Q_PROPERTY(int RowLines READ rowLines WRITE setRowLines)
    Q_PROPERTY(int TitleHeight READ titleHeight WRITE setTitleHeight)
    Q_PROPERTY(int TitleLines READ titleLines WRITE setTitleLines)
    Q_PROPERTY(bool ParentFont READ parentFont WRITE setParentFont)
    Q_PROPERTY(bool DefaultDrawing READ defaultDrawing WRITE setDefaultDrawing)
    Q_PROPERTY(grid::TColumnDefValuesEx *ColumnDefValues READ columnDefValues CONSTANT)
    Q_PROPERTY(TDBGridExScrollBar HorzScrollBar READ horzScrollBar WRITE setHorzScrollBar)
    Q_PROPERTY(TVertDBGridExScrollBar VertScrollBar READ vertScrollBar WRITE setVertScrollBar)
public:
    static constexpr int IndicatorWidth = 11;
    static constexpr int DefaultColWidth = 64;
    static constexpr int DeferredRelayoutEvent = 1024 + 100; // private message number of the relayout

    explicit TCustomDBGridEx(QWidget *parent = nullptr);
    ~TCustomDBGridEx() override;

    void beginLoading() { loading_ = true; }
    void loaded();
    bool loading() const { return loading_; }

    data::DataSource *dataSource() const { return link_.dataSource(); }
    void setDataSource(data::DataSource *source);
    data::DataSet *dataSet() const { return link_.dataSet(); }
    const TGridDataLinkEx &dataLink() const { return link_; }

    TDBGridColumnsEx &columns() { return columns_; }
    TDBGridExSumList &sumList() { return sumList_; }
    TColumnDefValuesEx *columnDefValues() { return &columnDefValues_; }
    const TColumnDefValuesEx *columnDefValues() const { return &columnDefValues_; }

    TDBGridOptions options() const { return options_; }
    void setOptions(TDBGridOptions options);
    TDBGridExOptions optionsEx() const { return optionsEx_; }
    void setOptionsEx(TDBGridExOptions options);
    bool autoFitColWidths() const { return autoFit_; }
    void setAutoFitColWidths(bool on);
    int minAutoFitWidth() const { return minAutoFitWidth_; }
    void setMinAutoFitWidth(int width);
    bool useMultiTitle() const { return useMultiTitle_; }
    void setUseMultiTitle(bool on);
    int vTitleMargin() const { return vTitleMargin_; }
    void setVTitleMargin(int margin);
    bool isFlat() const { return flat_; }
    void setFlat(bool on);
    bool isReadOnly() const { return readOnly_; }
    void setReadOnly(bool on);
    int footerRowCount() const { return footerRowCount_; }
    void setFooterRowCount(int count);
    QColor footerColor() const { return footerColor_; }
    void setFooterColor(const platform::colors::Color &color);
    QFont footerFont() const;
    void setFooterFont(const QFont &font);
    QColor footerFontColor() const { return footerFontColor_; }
    void setFooterFontColor(const platform::colors::Color &color);
    QFont titleFont() const;
    void setTitleFont(const QFont &font);
    QColor color() const { return color_; }
    void setColor(const platform::colors::Color &color);
    // While set, the parent's window colour is the grid's and the footers' colour.
    bool parentColor() const { return parentColor_; }
    void setParentColor(bool on);
    QColor fixedColor() const { return fixedColor_; }
    void setFixedColor(const platform::colors::Color &color);
    // Fixed heights of the data rows and the title row: pixels plus lines of
    // text; all 0, the fonts decide.
    int rowHeight() const { return rowHeight_; }
    void setRowHeight(int height);
    int rowLines() const { return rowLines_; }
    void setRowLines(int lines);
    int titleHeight() const { return titleHeight_; }
    void setTitleHeight(int height);
    int titleLines() const { return titleLines_; }
    void setTitleLines(int lines);
    // While set, each change of the parent's font becomes the grid's, the
    // titles' and the footers' font; assigning a title or footer font clears it.
    bool parentFont() const { return parentFont_; }
    void setParentFont(bool on);
    // Without default drawing data cells are only filled; their owner draws the rest.
    bool defaultDrawing() const { return defaultDrawing_; }
    void setDefaultDrawing(bool on);
    // The horizontal bar scrolls the columns; it is never shown with AutoFitColWidths.
    TDBGridExScrollBar horzScrollBar() const { return horzScrollBar_; }
    void setHorzScrollBar(const TDBGridExScrollBar &settings);
    TVertDBGridExScrollBar vertScrollBar() const { return vertScrollBar_; }
    void setVertScrollBar(const TVertDBGridExScrollBar &settings);

    // Layout.
    void ReflowLayout();
    void LockLayout();
    void UnlockLayout();
    void ApplyColumnWidths();
    void RecountVisibleRows();
    int titleRowCount() const { return titleRows_; }
    int indicatorCount() const { return indicatorCols_; }
    int dataRowHeight() const { return cells().defaultRowHeight(); }
    int titleRowHeight() const { return titleRows_ ? cells().rowHeight(0) : 0; }
    int recordRows() const { return recordRows_; }
    // Page size of paging keys and the scroll bar.
    int visibleDataRows() const;
    const TitleTree &titleTree() const { return titleTree_; }
    int gridColumnOf(const TDBGridColumnEx &column) const;
    int gridWidthOf(const TDBGridColumnEx &column) const;

    // Navigation.
    void SelectColumnByIndex(int index);

    // The text painted for `column` in the record row `record` (0 is the
    // record window's top).
    QString recordText(int record, const TDBGridColumnEx &column);

    // Footers.
    QString FooterText(int footerRow, TDBGridColumnEx &column) const;

    // Events, each optional, sender first. A key handler that sets the key to
    // 0 keeps the grid from acting on it; positions are in client coordinates.
    std::function<void(TCustomDBGridEx &, int &key, Qt::KeyboardModifiers)> OnKeyDown;
    std::function<void(TCustomDBGridEx &, Qt::MouseButton, Qt::KeyboardModifiers, QPoint)> OnMouseDown;
    std::function<void(TCustomDBGridEx &)> OnDblClick, OnColEnter, OnColExit;
    std::function<void(TCustomDBGridEx &, TDBGridColumnEx &)> OnCellClick, OnTitleClick;
    std::function<void(TCustomDBGridEx &)> OnSumListRecalcAll, OnSumListAfterRecalcAll;
    // After a layout pass or a column change left other column widths shown.
    std::function<void(TCustomDBGridEx &)> OnColWidthsChanged;
    // Cell parameters before a data or footer cell is painted, owner drawing after.
    std::function<void(TCustomDBGridEx &, TDBGridColumnEx &, QFont &, QColor &background, TGridDrawState)>
        OnGetCellParams;
    std::function<void(TCustomDBGridEx &, int dataCol, int footerRow, TDBGridColumnEx &, QFont &, QColor &background,
                       TAlignment &, QString &text)>
        OnGetFooterParams;
    std::function<void(TCustomDBGridEx &, QPainter &, const platform::Rect &, int dataCol, TDBGridColumnEx &,
                       TGridDrawState)>
        OnDrawColumnCell;
    std::function<void(TCustomDBGridEx &, QPainter &, const platform::Rect &, int dataCol, int footerRow,
                       TDBGridColumnEx &)>
        OnDrawFooterCell;

    // Notifications from the column model.
    void columnChanged(TDBGridColumnEx &column);
    void columnsChanged();
    void columnGoing(TDBGridColumnEx &column);
    void footerChanged();
    void relinkFooter(TColumnFooterEx &footer);
    void footerDestroyed(TColumnFooterEx &footer);

protected:
    void paintClient(QPainter &p, const platform::Rect &clip) override;
    void clientResized() override;
    void verticalScrollCommand(int action) override;
    void verticalThumbReleased(int position) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    friend class TGridDataLinkEx;
    enum class RowKind { Title, Record, EmptyRecord, Filler, Footer };

    // Data link notifications.
    void linkActiveChanged();
    void linkDataChanged();
    void linkScrolled(int distance);
    void linkRecordChanged(data::Field *field);
    void linkEditingChanged();

    // Layout steps.
    bool linkActive() const { return link_.active(); }
    void postDeferredRelayout();
    void reflow();
    void reportColWidths();
    void FitColumnsToWidth();
    void buildTitleTree();
    QFont tallestTitleFont() const;
    void setLayoutValue(int &member, int value);
    void followActiveRecord();
    bool updateVerticalScrollBar();
    bool updateHorizontalScrollBar();
    void scrollBarMayHaveChanged(bool visibilityChanged);
    void takeAutoFitBases();
    void takeParentColor();
    void takeParentFont();
    void rescaleAutoFitBase(TDBGridColumnEx &column, int col);
    void leaveHiddenColumn();
    void relinkAllFooters();

    // Cell classification.
    RowKind kindOfRow(int row) const;
    int firstFooterRow() const { return cells().rowCount() - footerRowCount_; }
    TDBGridColumnEx *columnOfGridCol(int col) const;
    bool isRecordRow(int row) const;

    // Painting.
    void paintLines(QPainter &p);
    void paintCell(QPainter &p, int col, int row, const platform::Rect &rect);
    void paintIndicatorCell(QPainter &p, int row, const platform::Rect &rect, bool framed);
    void paintTitleCell(QPainter &p, TDBGridColumnEx &column, const platform::Rect &rect, int dx, int dy);
    void paintUpperTitles(QPainter &p, const THeadTreeNode &leaf, const platform::Rect &cell,
                          const platform::Rect &textRect);
    void paintDataCell(QPainter &p, int row, TDBGridColumnEx &column, const platform::Rect &rect, int dx, int dy);
    void paintFooterCell(QPainter &p, int row, TDBGridColumnEx &column, const platform::Rect &rect, int dx, int dy);
    void paintFixedFrame(QPainter &p, const platform::Rect &rect, const QColor &background);
    QColor fixedLineColor() const;
    QColor dataLineColor() const;

    // Input.
    void moveBy(int distance);
    bool mayEdit() const;
    bool deleteConfirmed() const;
    bool footersLinedAsFixed() const;
    void cancelUnchangedInsert();
    TDBGridColumnEx *columnEdgeAt(int x) const;
    void repaintCurrentRow();

    TGridDataLinkEx link_{*this};
    TDBGridExSumList sumList_;
    TColumnDefValuesEx columnDefValues_{*this};
    TDBGridColumnsEx columns_{*this};
    TitleTree titleTree_;

    TDBGridOptions options_{dgEditing,  dgTitles, dgIndicator,     dgColumnResize, dgColLines,
                            dgRowLines, dgTabs,   dgConfirmDelete, dgCancelOnExit};
    TDBGridExOptions optionsEx_{dgxFixed3D, dgxHighlightFocus, dgxClearSelection};
    bool autoFit_ = false;
    int minAutoFitWidth_ = 0;
    bool useMultiTitle_ = false;
    int vTitleMargin_ = 10;
    bool flat_ = false;
    bool readOnly_ = false;
    int footerRowCount_ = 0;
    platform::colors::Color footerColor_;
    Derived<QFont> footerFont_;
    platform::colors::Color footerFontColor_;
    Derived<QFont> titleFont_;
    platform::colors::Color color_;
    platform::colors::Color fixedColor_;
    bool parentColor_ = false;
    bool parentFont_ = true;
    int rowHeight_ = 0, rowLines_ = 0, titleHeight_ = 0, titleLines_ = 0;
    bool defaultDrawing_ = true;
    TDBGridExScrollBar horzScrollBar_;
    TVertDBGridExScrollBar vertScrollBar_;

    bool loading_ = false;
    int layoutLock_ = 0;
    bool layoutInProgress_ = false;
    bool relayoutPosted_ = false;
    int titleRows_ = 0;
    int indicatorCols_ = 0;
    int recordRows_ = 0;          // rows showing records of the record window
    bool resizingWindow_ = false; // the record window is being resized
    bool wrapAllowed_ = false;
    bool scrollInfoSent_ = false;
    platform::WheelNotches wheelNotches_;
    bool thumbTracked_ = false;       // the thumb's release is then no move of its own
    std::vector<int> shownColWidths_; // as last reported by OnColWidthsChanged
    struct {
        TDBGridColumnEx *column = nullptr; // being sized by the mouse
        int startX = 0, startWidth = 0;
    } sizing_;
};

class TDBGridEx : public TCustomDBGridEx {
    Q_OBJECT
public:
    using TCustomDBGridEx::TCustomDBGridEx;
};

} // namespace grid
