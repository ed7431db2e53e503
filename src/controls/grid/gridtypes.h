#pragma once

#include <QColor>
#include <QFont>
#include <Qt>
#include <functional>
#include <initializer_list>

namespace grid {

// Option sets, enumerations and the assigned-flag holder shared by the grid's
// column model, layout and painting.

// A set of enumerators, written as the windows' set-up code lists them.
template <typename E> class EnumSet {
public:
    constexpr EnumSet() = default;
    constexpr EnumSet(std::initializer_list<E> items)
    {
        for (E e : items)
            bits_ |= bit(e);
    }
    constexpr bool contains(E e) const { return bits_ & bit(e); }
    constexpr EnumSet with(E e) const { return fromBits(bits_ | bit(e)); }
    constexpr EnumSet without(E e) const { return fromBits(bits_ & ~bit(e)); }
    // Whether the two sets differ in any of the listed enumerators.
    constexpr bool differsIn(const EnumSet &other, EnumSet mask) const
    {
        return ((bits_ ^ other.bits_) & mask.bits_) != 0;
    }
    friend constexpr bool operator==(const EnumSet &, const EnumSet &) = default;

private:
    static constexpr unsigned bit(E e) { return 1u << static_cast<unsigned>(e); }
    static constexpr EnumSet fromBits(unsigned bits)
    {
        EnumSet s;
        s.bits_ = bits;
        return s;
    }
    unsigned bits_ = 0;
};

enum TDBGridOption {
    dgEditing,
    dgAlwaysShowEditor,
    dgTitles,
    dgIndicator,
    dgColumnResize,
    dgColLines,
    dgRowLines,
    dgTabs,
    dgRowSelect,
    dgAlwaysShowSelection,
    dgConfirmDelete,
    dgCancelOnExit,
    dgMultiSelect
};
using TDBGridOptions = EnumSet<TDBGridOption>;

enum TDBGridExOption {
    dgxFixed3D,
    dgxFrozen3D,
    dgxFooter3D,
    dgxData3D,
    dgxResizeWholeRightPart,
    dgxHighlightFocus,
    dgxClearSelection,
    dgxFitRowHeightToText,
    dgxAutoSortMarking,
    dgxMultiSortMarking,
    dgxEnterAsTab,
    dgxTraceColSizing,
    dgxIncSearch,
    dgxPreferIncSearch,
    dgxRowHighlight
};
using TDBGridExOptions = EnumSet<TDBGridExOption>;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

enum TFooterValueType { fvtNon, fvtSum, fvtAvg, fvtCount, fvtFieldValue, fvtStaticText };

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
