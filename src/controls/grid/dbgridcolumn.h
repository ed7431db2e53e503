#pragma once

#include "controls/grid/gridtypes.h"

#include "platform/colors.h"
#include <QFont>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace data {
class DataSet;
class Field;
} // namespace data

namespace grid {

class TCustomDBGridEx;
class TDBGridColumnEx;
class TDBSum;

// Title of one column. Unassigned values follow the field and the grid.
class TColumnTitleEx {
public:
    explicit TColumnTitleEx(TDBGridColumnEx &column) : column_(column) {}

    QString caption() const;
    void setCaption(const QString &caption);
    TAlignment alignment() const;
    void setAlignment(TAlignment alignment);
    QColor color() const;
    void setColor(const platform::colors::Color &color);
    QFont font() const;
    void setFont(const QFont &font);

private:
    TDBGridColumnEx &column_;
    Derived<QString> caption_;
    Derived<TAlignment> alignment_;
    Derived<platform::colors::Color> color_;
    Derived<QFont> font_;
};

// Footer cell of one column for one footer row.
class TColumnFooterEx {
public:
    explicit TColumnFooterEx(TDBGridColumnEx &column) : column_(column) {}
    ~TColumnFooterEx();
    TColumnFooterEx(const TColumnFooterEx &) = delete;
    TColumnFooterEx &operator=(const TColumnFooterEx &) = delete;

    TFooterValueType valueType() const { return valueType_; }
    void setValueType(TFooterValueType type);
    QString value() const { return value_; }
    void setValue(const QString &value);
    QString fieldName() const { return fieldName_; }
    void setFieldName(const QString &name);
    QString displayFormat() const { return displayFormat_; }
    void setDisplayFormat(const QString &format);
    TAlignment alignment() const;
    void setAlignment(TAlignment alignment);
    QColor color() const;
    void setColor(const platform::colors::Color &color);
    QFont font() const;
    void setFont(const QFont &font);
    // Qt fonts carry no colour; the text colour of the footer font.
    QColor fontColor() const;
    void setFontColor(const platform::colors::Color &color);
    bool endEllipsis() const { return endEllipsis_; }
    void setEndEllipsis(bool on);
    bool wordWrap() const { return wordWrap_; }
    void setWordWrap(bool on);

    TDBGridColumnEx &column() const { return column_; }
    // The summary item this footer owns (sum, average and count footers).
    TDBSum *sumItem() const { return sumItem_; }
    void setSumItem(TDBSum *item) { sumItem_ = item; }

private:
    void changed();
    void relink();

    TDBGridColumnEx &column_;
    TFooterValueType valueType_ = fvtNon;
    QString value_, fieldName_, displayFormat_;
    Derived<TAlignment> alignment_;
    Derived<platform::colors::Color> color_;
    Derived<QFont> font_;
    Derived<platform::colors::Color> fontColor_;
    bool endEllipsis_ = false;
    bool wordWrap_ = false;
    TDBSum *sumItem_ = nullptr;
};

// Further footers of one column, one per footer row.
class TColumnFootersEx {
public:
    explicit TColumnFootersEx(TDBGridColumnEx &column) : column_(column) {}
    TColumnFooterEx &add();
    int count() const { return static_cast<int>(footers_.size()); }
    TColumnFooterEx &operator[](int i) const { return *footers_[i]; }

private:
    TDBGridColumnEx &column_;
    std::vector<std::unique_ptr<TColumnFooterEx>> footers_;
};

class TDBGridColumnEx {
public:
    // An automatic column is made by the grid from a dataset field; declared
    // columns are persistent.
    explicit TDBGridColumnEx(TCustomDBGridEx *grid, bool automatic = false);
    TDBGridColumnEx(const TDBGridColumnEx &) = delete;
    TDBGridColumnEx &operator=(const TDBGridColumnEx &) = delete;

    TCustomDBGridEx *grid() const { return grid_; }
    bool isAutomatic() const { return automatic_; }

    QString fieldName() const { return fieldName_; }
    void setFieldName(const QString &name);
    // The dataset field shown; looked up by name (ignoring case) while the
    // dataset is open, nullptr otherwise or when no such field exists.
    data::Field *field() const;
    // Looks the field up again; once found the column takes its exact name.
    void bindField();

    int width() const;
    void setWidth(int width);
    bool widthStored() const { return storedWidth_.has_value(); }
    int NaturalWidth() const;
    bool isVisible() const { return visible_; }
    void setVisible(bool visible);
    bool autoFitColWidth() const { return autoFitColWidth_; }
    void setAutoFitColWidth(bool on);
    int minWidth() const { return minWidth_; }
    void setMinWidth(int width);
    int maxWidth() const { return maxWidth_; }
    void setMaxWidth(int width);

    TAlignment alignment() const;
    void setAlignment(TAlignment alignment);
    QColor color() const;
    void setColor(const platform::colors::Color &color);
    QFont font() const;
    void setFont(const QFont &font);
    bool isReadOnly() const;
    void setReadOnly(bool readOnly);
    bool endEllipsis() const;
    void setEndEllipsis(bool on);
    bool wordWrap() const { return wordWrap_; }
    void setWordWrap(bool on);

    TColumnTitleEx &title() { return title_; }
    const TColumnTitleEx &title() const { return title_; }
    TColumnFooterEx &footer() { return footer_; }
    TColumnFootersEx &footers() { return footers_; }
    // The footer shown in footer row k (0-based).
    TColumnFooterEx &footerOfRow(int k);

    // Layout bookkeeping of the auto-fit distribution.
    int autoFitBaseWidth() const { return autoFitBaseWidth_; }
    void setAutoFitBaseWidth(int width) { autoFitBaseWidth_ = width; }
    bool clamped() const { return clamped_; }
    void setClamped(bool on) { clamped_ = on; }

    // Reports a change of this column to the grid.
    void changed();

private:
    int clampedWidth(int width) const;

    TCustomDBGridEx *grid_;
    bool automatic_;
    QString fieldName_;
    mutable data::Field *field_ = nullptr;
    mutable bool bound_ = false;
    mutable quint64 boundVersion_ = 0;
    std::optional<int> storedWidth_;
    bool visible_ = true;
    bool autoFitColWidth_ = true;
    int minWidth_ = 0;
    int maxWidth_ = 0;
    Derived<TAlignment> alignment_;
    Derived<platform::colors::Color> color_;
    Derived<QFont> font_;
    Derived<bool> readOnly_;
    Derived<bool> endEllipsis_;
    bool wordWrap_ = false;
    TColumnTitleEx title_{*this};
    TColumnFooterEx footer_{*this};
    TColumnFootersEx footers_{*this};
    int autoFitBaseWidth_ = 0;
    bool clamped_ = false;
};

// The ordered columns of one grid, owned by it. While none is declared the
// grid shows one automatic column per field of its dataset.
class TDBGridColumnsEx {
public:
    explicit TDBGridColumnsEx(TCustomDBGridEx &grid) : grid_(grid) {}
    // Declares a column; automatic columns give way to it.
    TDBGridColumnEx &add();
    void remove(int index);
    void clear();
    int count() const { return static_cast<int>(columns_.size()); }
    TDBGridColumnEx &operator[](int i) const { return *columns_[i]; }
    int indexOf(const TDBGridColumnEx &column) const;
    // Whether the columns are declared ones (then the layout keeps them as they are).
    bool isCustomized() const { return !columns_.empty() && !columns_.front()->isAutomatic(); }
    // Layout: drops automatic columns when declared ones are present, else
    // makes the automatic columns match the fields of `ds` (none when it has none).
    void updateAutomatic(const data::DataSet *ds);

private:
    void dropAutomatic();

    TCustomDBGridEx &grid_;
    std::vector<std::unique_ptr<TDBGridColumnEx>> columns_;
};

} // namespace grid
