#include "controls/grid/dbgridcolumn.h"

#include "controls/grid/dbgridex.h"
#include "data/dataset.h"
#include "data/field.h"
#include "platform/drawing.h"

#include <QApplication>
#include <QFontMetrics>
#include <algorithm>

namespace grid {

// ---- title

QString TColumnTitleEx::caption() const
{
    return caption_.value([this] {
        data::Field *field = column_.field();
        return field ? field->displayLabel() : column_.fieldName();
    });
}

void TColumnTitleEx::setCaption(const QString &caption)
{
    if (caption_.assign(caption))
        column_.changed();
}

TAlignment TColumnTitleEx::alignment() const
{
    return alignment_.value(
        [this] { return column_.grid() ? column_.grid()->columnDefValues()->title()->alignment() : taLeftJustify; });
}

void TColumnTitleEx::setAlignment(TAlignment alignment)
{
    if (alignment_.assign(alignment))
        column_.changed();
}

QColor TColumnTitleEx::color() const
{
    return color_.value(
        [this] { return column_.grid() ? column_.grid()->columnDefValues()->title()->color() : QColor(); });
}

void TColumnTitleEx::setColor(const platform::colors::Color &color)
{
    if (color_.assign(color))
        column_.changed();
}

QFont TColumnTitleEx::font() const
{
    return font_.value([this] { return column_.grid() ? column_.grid()->titleFont() : QApplication::font(); });
}

void TColumnTitleEx::setFont(const QFont &font)
{
    if (font_.assign(font) && column_.grid())
        column_.grid()->columnsChanged();
}

// ---- footer

TColumnFooterEx::~TColumnFooterEx()
{
    if (column_.grid())
        column_.grid()->footerDestroyed(*this);
}

void TColumnFooterEx::changed()
{
    if (column_.grid())
        column_.grid()->footerChanged();
}

void TColumnFooterEx::relink()
{
    if (column_.grid())
        column_.grid()->relinkFooter(*this);
    changed();
}

void TColumnFooterEx::setValueType(TFooterValueType type)
{
    valueType_ = type;
    relink();
}

void TColumnFooterEx::setValue(const QString &value)
{
    value_ = value;
    changed();
}

void TColumnFooterEx::setFieldName(const QString &name)
{
    fieldName_ = name;
    relink();
}

void TColumnFooterEx::setDisplayFormat(const QString &format)
{
    displayFormat_ = format;
    changed();
}

TAlignment TColumnFooterEx::alignment() const
{
    return alignment_.value([this] {
        data::Field *field = column_.field();
        return field ? alignmentOf(field->alignment()) : taLeftJustify;
    });
}

void TColumnFooterEx::setAlignment(TAlignment alignment)
{
    if (alignment_.assign(alignment))
        changed();
}

QColor TColumnFooterEx::color() const
{
    return color_.value([this] { return column_.grid() ? column_.grid()->footerColor() : QColor(); });
}

void TColumnFooterEx::setColor(const platform::colors::Color &color)
{
    if (color_.assign(color))
        changed();
}

QFont TColumnFooterEx::font() const
{
    return font_.value([this] { return column_.grid() ? column_.grid()->footerFont() : QApplication::font(); });
}

void TColumnFooterEx::setFont(const QFont &font)
{
    if (font_.assign(font))
        changed();
}

QColor TColumnFooterEx::fontColor() const
{
    return fontColor_.value([this] { return column_.grid() ? column_.grid()->footerFontColor() : QColor(Qt::black); });
}

void TColumnFooterEx::setFontColor(const platform::colors::Color &color)
{
    if (fontColor_.assign(color))
        changed();
}

void TColumnFooterEx::setEndEllipsis(bool on)
{
    endEllipsis_ = on;
    changed();
}

void TColumnFooterEx::setWordWrap(bool on)
{
    wordWrap_ = on;
    changed();
}

TColumnFooterEx &TColumnFootersEx::add()
{
    footers_.push_back(std::make_unique<TColumnFooterEx>(column_));
    return *footers_.back();
}

// ---- column

TDBGridColumnEx::TDBGridColumnEx(TCustomDBGridEx *grid, bool automatic) : grid_(grid), automatic_(automatic)
{
    autoFitBaseWidth_ = width();
}

void TDBGridColumnEx::changed()
{
    if (grid_)
        grid_->columnChanged(*this);
}

void TDBGridColumnEx::setFieldName(const QString &name)
{
    fieldName_ = name;
    bound_ = false;
    if (grid_) {
        grid_->relinkFooter(footer_);
        for (int i = 0; i < footers_.count(); ++i)
            grid_->relinkFooter(footers_[i]);
        grid_->columnsChanged();
    }
}

data::Field *TDBGridColumnEx::field() const
{
    data::DataSet *ds = grid_ ? grid_->dataSet() : nullptr;
    // Declared fields exist while the dataset is closed, so a closed result
    // still shows their display labels as titles.
    if (!ds || !(ds->active() || ds->hasDeclaredFields()))
        return nullptr;
    // The version tells the cached field from one of another dataset or of
    // fields replaced since, whatever the layout lock held back.
    if (!bound_ || boundVersion_ != ds->fieldsVersion()) {
        field_ = fieldName_.isEmpty() ? nullptr : ds->findField(fieldName_);
        boundVersion_ = ds->fieldsVersion();
        bound_ = true;
    }
    return field_;
}

void TDBGridColumnEx::bindField()
{
    bound_ = false;
    if (data::Field *f = field())
        fieldName_ = f->fieldName();
}

int TDBGridColumnEx::NaturalWidth() const
{
    data::Field *f = field();
    if (!grid_ || !f)
        return TCustomDBGridEx::DefaultColWidth;
    // Qt reports no overhang: glyph advances already include it.
    const int overhang = 0;
    int zero = platform::textWidth(font(), QStringLiteral("0"));
    return (zero - overhang) * f->displayWidth() + overhang + 4;
}

int TDBGridColumnEx::width() const
{
    return storedWidth_ ? *storedWidth_ : NaturalWidth();
}

int TDBGridColumnEx::clampedWidth(int width) const
{
    if (maxWidth_ > 0)
        width = std::min(width, maxWidth_);
    return std::max(width, minWidth_);
}

void TDBGridColumnEx::setWidth(int width)
{
    if (width == -1)
        return;
    if (storedWidth_ || width != NaturalWidth())
        storedWidth_ = clampedWidth(width);
    data::Field *f = automatic_ ? field() : nullptr;
    if (f) {
        // An automatic column's width is its field's display width.
        const QFontMetrics metrics(font());
        const int overhang = 0, zero = platform::textWidth(font(), QStringLiteral("0"));
        if (zero > 0)
            f->setDisplayWidth((this->width() + metrics.averageCharWidth() / 2 - overhang - 3) / zero);
    }
    changed();
}

void TDBGridColumnEx::setVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    if (grid_)
        grid_->columnsChanged();
}

void TDBGridColumnEx::setAutoFitColWidth(bool on)
{
    autoFitColWidth_ = on;
    changed();
}

void TDBGridColumnEx::setMinWidth(int width)
{
    minWidth_ = std::max(0, width);
    if (storedWidth_)
        storedWidth_ = clampedWidth(*storedWidth_);
    changed();
}

void TDBGridColumnEx::setMaxWidth(int width)
{
    maxWidth_ = std::max(0, width);
    if (storedWidth_)
        storedWidth_ = clampedWidth(*storedWidth_);
    changed();
}

TAlignment TDBGridColumnEx::alignment() const
{
    return alignment_.value([this] {
        data::Field *f = field();
        return f ? alignmentOf(f->alignment()) : taLeftJustify;
    });
}

void TDBGridColumnEx::setAlignment(TAlignment alignment)
{
    if (alignment_.assign(alignment))
        changed();
}

QColor TDBGridColumnEx::color() const
{
    return color_.value([this] { return grid_ ? grid_->color() : QColor(Qt::white); });
}

void TDBGridColumnEx::setColor(const platform::colors::Color &color)
{
    if (color_.assign(color))
        changed();
}

QFont TDBGridColumnEx::font() const
{
    return font_.value([this] { return grid_ ? grid_->font() : QApplication::font(); });
}

void TDBGridColumnEx::setFont(const QFont &font)
{
    if (font_.assign(font))
        changed();
}

bool TDBGridColumnEx::isReadOnly() const
{
    return readOnly_.value([this] {
        data::Field *f = field();
        return (grid_ && grid_->isReadOnly()) || (f && f->isReadOnly());
    });
}

void TDBGridColumnEx::setReadOnly(bool readOnly)
{
    if (readOnly_.assign(readOnly))
        changed();
}

bool TDBGridColumnEx::endEllipsis() const
{
    return endEllipsis_.value([this] { return grid_ && grid_->columnDefValues()->endEllipsis(); });
}

void TDBGridColumnEx::setEndEllipsis(bool on)
{
    if (endEllipsis_.assign(on))
        changed();
}

void TDBGridColumnEx::setWordWrap(bool on)
{
    wordWrap_ = on;
    changed();
}

TColumnFooterEx &TDBGridColumnEx::footerOfRow(int k)
{
    return k < footers_.count() ? footers_[k] : footer_;
}

// ---- collection

TDBGridColumnEx &TDBGridColumnsEx::add()
{
    dropAutomatic();
    columns_.push_back(std::make_unique<TDBGridColumnEx>(&grid_));
    grid_.columnsChanged();
    return *columns_.back();
}

void TDBGridColumnsEx::remove(int index)
{
    if (index < 0 || index >= count())
        return;
    grid_.columnGoing(*columns_[index]);
    columns_.erase(columns_.begin() + index);
    grid_.columnsChanged();
}

void TDBGridColumnsEx::clear()
{
    for (auto &column : columns_)
        grid_.columnGoing(*column);
    columns_.clear();
    grid_.columnsChanged();
}

void TDBGridColumnsEx::dropAutomatic()
{
    std::erase_if(columns_, [this](const std::unique_ptr<TDBGridColumnEx> &column) {
        if (!column->isAutomatic())
            return false;
        grid_.columnGoing(*column);
        return true;
    });
}

void TDBGridColumnsEx::updateAutomatic(const data::DataSet *ds)
{
    if (isCustomized()) {
        dropAutomatic();
        return;
    }
    const bool hasFields = ds && (ds->active() || ds->hasDeclaredFields());
    std::erase_if(columns_, [&](const std::unique_ptr<TDBGridColumnEx> &column) {
        if (hasFields && ds->findField(column->fieldName()))
            return false;
        grid_.columnGoing(*column);
        return true;
    });
    for (int i = 0; hasFields && i < ds->fieldCount(); ++i) {
        const QString name = ds->field(i)->fieldName();
        const bool shown = std::any_of(columns_.begin(), columns_.end(), [&](const auto &column) {
            return column->fieldName().compare(name, Qt::CaseInsensitive) == 0;
        });
        if (shown)
            continue;
        columns_.push_back(std::make_unique<TDBGridColumnEx>(&grid_, true));
        TDBGridColumnEx &column = *columns_.back();
        column.setFieldName(name);
        column.setAutoFitBaseWidth(column.width());
    }
}

int TDBGridColumnsEx::indexOf(const TDBGridColumnEx &column) const
{
    for (int i = 0; i < count(); ++i)
        if (columns_[i].get() == &column)
            return i;
    return -1;
}

} // namespace grid
