#pragma once

#include <QColor>
#include <QFlags>
#include <QFont>
#include <Qt>
#include <functional>

namespace grid {

// Option sets, enumerations and the assigned-flag holder shared by the grid's
// column model, layout and painting.

enum TDBGridOption {
    dgEditing = 1 << 0,
    dgAlwaysShowEditor = 1 << 1,
    dgTitles = 1 << 2,
    dgIndicator = 1 << 3,
    dgColumnResize = 1 << 4,
    dgColLines = 1 << 5,
    dgRowLines = 1 << 6,
    dgTabs = 1 << 7,
    dgRowSelect = 1 << 8,
    dgAlwaysShowSelection = 1 << 9,
    dgConfirmDelete = 1 << 10,
    dgCancelOnExit = 1 << 11,
    dgMultiSelect = 1 << 12,
};
Q_DECLARE_FLAGS(TDBGridOptions, TDBGridOption)

enum TDBGridExOption {
    dgxFixed3D = 1 << 0,
    dgxFrozen3D = 1 << 1,
    dgxFooter3D = 1 << 2,
    dgxData3D = 1 << 3,
    dgxResizeWholeRightPart = 1 << 4,
    dgxHighlightFocus = 1 << 5,
    dgxClearSelection = 1 << 6,
    dgxFitRowHeightToText = 1 << 7,
    dgxAutoSortMarking = 1 << 8,
    dgxMultiSortMarking = 1 << 9,
    dgxEnterAsTab = 1 << 10,
    dgxTraceColSizing = 1 << 11,
    dgxIncSearch = 1 << 12,
    dgxPreferIncSearch = 1 << 13,
    dgxRowHighlight = 1 << 14,
};
Q_DECLARE_FLAGS(TDBGridExOptions, TDBGridExOption)

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

enum TFooterValueType { fvtNon, fvtSum, fvtAvg, fvtCount, fvtFieldValue, fvtStaticText };

// What the generic grid tells of a cell being painted.
enum TGridDrawStateFlag { gdSelected = 1 << 0, gdFocused = 1 << 1, gdFixed = 1 << 2 };
Q_DECLARE_FLAGS(TGridDrawState, TGridDrawStateFlag)

enum TScrollBarVisibleModeEx { sbAlwaysShowEx, sbNeverShowEx, sbAutoShowEx };

inline TAlignment alignmentOf(Qt::Alignment a)
{
    if (a & Qt::AlignRight)
        return taRightJustify;
    if (a & Qt::AlignHCenter)
        return taCenter;
    return taLeftJustify;
}

// A derived appearance value: follows its default, computed afresh on every
// read, until it is assigned.
template <typename T> class Derived {
public:
    T value(const std::function<T()> &byDefault) const { return assigned_ ? value_ : byDefault(); }
    bool assigned() const { return assigned_; }
    // Returns whether the effective value may have changed.
    bool assign(const T &v)
    {
        bool changed = !assigned_ || !(value_ == v);
        value_ = v;
        assigned_ = true;
        return changed;
    }
    void reset() { assigned_ = false; }

private:
    T value_{};
    bool assigned_ = false;
};

} // namespace grid

Q_DECLARE_OPERATORS_FOR_FLAGS(grid::TDBGridOptions)
Q_DECLARE_OPERATORS_FOR_FLAGS(grid::TDBGridExOptions)
Q_DECLARE_OPERATORS_FOR_FLAGS(grid::TGridDrawState)
