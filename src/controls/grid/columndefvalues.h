#pragma once

#include "controls/grid/gridtypes.h"

#include "platform/colors.h"
#include <QObject>

namespace grid {

class TCustomDBGridEx;

// Grid-wide defaults of the column titles; a title that has not set its own
// value reads these.
class TColumnTitleDefValuesEx : public QObject {
    Q_OBJECT
    Q_PROPERTY(grid::TAlignment Alignment READ alignment WRITE setAlignment)
    Q_PROPERTY(QColor Color READ color WRITE setColor)
public:
    explicit TColumnTitleDefValuesEx(TCustomDBGridEx &grid) : grid_(grid) {}

    // Centred in multi-title mode, left-justified otherwise, until assigned.
    TAlignment alignment() const;
    void setAlignment(TAlignment alignment);
    // The grid's fixed colour until assigned.
    QColor color() const;
    void setColor(const platform::colors::Color &color);

private:
    TCustomDBGridEx &grid_;
    Derived<TAlignment> alignment_;
    Derived<platform::colors::Color> color_;
};

// Grid-wide defaults of the columns; a column that has not set its own value
// reads these.
class TColumnDefValuesEx : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool EndEllipsis READ endEllipsis WRITE setEndEllipsis)
    Q_PROPERTY(grid::TColumnTitleDefValuesEx *Title READ title CONSTANT)
public:
    explicit TColumnDefValuesEx(TCustomDBGridEx &grid) : grid_(grid), title_(grid) {}

    bool endEllipsis() const { return endEllipsis_; }
    void setEndEllipsis(bool on);
    TColumnTitleDefValuesEx *title() { return &title_; }
    const TColumnTitleDefValuesEx *title() const { return &title_; }

private:
    TCustomDBGridEx &grid_;
    bool endEllipsis_ = false;
    TColumnTitleDefValuesEx title_;
};

} // namespace grid
