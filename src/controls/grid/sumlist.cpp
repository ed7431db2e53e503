#include "controls/grid/sumlist.h"

#include <QScopeGuard>
#include <QScopedValueRollback>
#include <cmath>

namespace grid {

namespace {

std::int64_t fixedPoint(double v)
{
    return std::llround(v * TDBSum::Scale);
}

std::int64_t averageOf(std::int64_t sum, std::int32_t count)
{
    return count == 0 ? 0 : std::llround(static_cast<double>(sum) / count);
}

// Calls the list's action and the replaced handler in the order each event wants.
data::DataSetNotifyEvent chain(data::DataSetNotifyEvent saved, std::function<void()> own, bool savedFirst)
{
    return [saved = std::move(saved), own = std::move(own), savedFirst](data::DataSet &ds) {
        if (savedFirst && saved)
            saved(ds);
        own();
        if (!savedFirst && saved)
            saved(ds);
    };
}

} // namespace

TDBGridExSumList::TDBGridExSumList(std::function<bool()> ownerLoading) : ownerLoading_(std::move(ownerLoading)) {}

TDBGridExSumList::~TDBGridExSumList()
{
    removeHooks();
}

void TDBGridExSumList::setActive(bool active)
{
    if (active == active_)
        return;
    active_ = active;
    if (ownerLoading_())
        return;
    if (active) {
        installHooks();
        RecomputeAll();
    } else {
        removeHooks();
        clearSums();
    }
}

void TDBGridExSumList::setDataSet(data::DataSet *dataSet)
{
    if (dataSet == dataSet_)
        return;
    bool wasActive = active_;
    setActive(false);
    dataSet_ = dataSet;
    setActive(wasActive);
}

void TDBGridExSumList::forgetDataSet()
{
    hooksInstalled_ = false;
    saved_ = {};
    dataSet_ = nullptr;
}

void TDBGridExSumList::loaded()
{
    if (active_ && dataSet_) {
        installHooks();
        RecomputeAll();
    }
}

TDBSum *TDBGridExSumList::addItem(TGroupOperation operation, const QString &fieldName)
{
    items_.push_back(std::make_unique<TDBSum>(operation, fieldName));
    TDBSum *item = items_.back().get();
    RecomputeAll();
    return item;
}

void TDBGridExSumList::removeItem(TDBSum *item)
{
    std::erase_if(items_, [item](const auto &p) { return p.get() == item; });
    RecomputeAll();
}

std::function<void()> TDBGridExSumList::whileAlive(std::function<void()> action) const
{
    return [alive = std::weak_ptr<int>(alive_), action = std::move(action)] {
        if (!alive.expired())
            action();
    };
}

void TDBGridExSumList::installHooks()
{
    if (hooksInstalled_ || !dataSet_)
        return;
    data::DataSet &ds = *dataSet_;
    saved_ = {ds.AfterOpen, ds.AfterClose,  ds.AfterInsert,  ds.AfterEdit,
              ds.AfterPost, ds.AfterCancel, ds.BeforeDelete, ds.AfterScroll};
    ds.AfterOpen = chain(saved_.AfterOpen, whileAlive([this] { afterOpen(); }), false);
    ds.AfterClose = chain(saved_.AfterClose, whileAlive([this] { afterClose(); }), false);
    ds.AfterInsert = chain(saved_.AfterInsert, whileAlive([this] { rememberContributions(true); }), false);
    ds.AfterEdit = chain(saved_.AfterEdit, whileAlive([this] { rememberContributions(false); }), true);
    ds.AfterPost = chain(saved_.AfterPost, whileAlive([this] { afterPost(); }), false);
    ds.AfterCancel = saved_.AfterCancel; // only record-numbering lists act on a cancel
    ds.BeforeDelete = chain(saved_.BeforeDelete, whileAlive([this] { beforeDelete(); }), true);
    ds.AfterScroll = chain(saved_.AfterScroll, whileAlive([this] { afterScroll(); }), true);
    hooksInstalled_ = true;
}

void TDBGridExSumList::removeHooks()
{
    if (!hooksInstalled_)
        return;
    data::DataSet &ds = *dataSet_;
    ds.AfterOpen = saved_.AfterOpen;
    ds.AfterClose = saved_.AfterClose;
    ds.AfterInsert = saved_.AfterInsert;
    ds.AfterEdit = saved_.AfterEdit;
    ds.AfterPost = saved_.AfterPost;
    ds.AfterCancel = saved_.AfterCancel;
    ds.BeforeDelete = saved_.BeforeDelete;
    ds.AfterScroll = saved_.AfterScroll;
    saved_ = {};
    hooksInstalled_ = false;
}

void TDBGridExSumList::changed()
{
    if (SumListChanged)
        SumListChanged();
}

void TDBGridExSumList::clearSums()
{
    for (auto &item : items_) {
        item->value_ = item->runningSum_ = item->remembered_ = 0;
        item->nonNullCount_ = 0;
    }
    changed();
}

data::Field *TDBGridExSumList::fieldOf(const TDBSum &item) const
{
    return item.FieldName.isEmpty() ? nullptr : &dataSet_->fieldByName(item.FieldName);
}

void TDBGridExSumList::RecomputeAll()
{
    if (ownerLoading_() || !active_ || !dataSet_ || !dataSet_->active() || !hooksInstalled_)
        return;
    clearSums();
    if (OnRecalcAll)
        OnRecalcAll(*this);
    bool needWalk = false;
    for (const auto &item : items_)
        needWalk |= item->GroupOperation == goCount || !item->FieldName.isEmpty();
    if (needWalk)
        walk();
    if (OnAfterRecalcAll)
        OnAfterRecalcAll(*this);
    filteredSnapshot_ = dataSet_->filtered();
    filterSnapshot_ = dataSet_->filter();
    changed();
}

void TDBGridExSumList::walk()
{
    data::DataSet &ds = *dataSet_;
    struct Participant {
        TDBSum *item;
        data::Field *field;
    };
    std::vector<Participant> participants;
    for (auto &item : items_)
        if (item->GroupOperation == goCount || !item->FieldName.isEmpty())
            participants.push_back({item.get(), fieldOf(*item)});

    // Controls stay disabled for the walk so no view repaints per record; the
    // guards restore them and the walk mark even when a step throws.
    ds.disableControls();
    const auto enable = qScopeGuard([&ds] { ds.enableControls(); });
    const QScopedValueRollback walkMark(walking_, true);

    for (ds.first(); !ds.eof(); ds.next()) {
        for (auto &[item, field] : participants) {
            bool isNull = field && field->isNull();
            switch (item->GroupOperation) {
            case goSum:
                if (!isNull)
                    item->value_ += fixedPoint(field->asFloat());
                break;
            case goAvg:
                if (!isNull) {
                    ++item->nonNullCount_;
                    item->runningSum_ += fixedPoint(field->asFloat());
                }
                break;
            case goCount:
                if (!isNull)
                    item->value_ += TDBSum::Scale;
                break;
            }
        }
    }
    ds.first();
    for (auto &[item, field] : participants)
        if (item->GroupOperation == goAvg)
            item->value_ = averageOf(item->runningSum_, item->nonNullCount_);
}

void TDBGridExSumList::afterOpen()
{
    if (active_)
        RecomputeAll();
}

void TDBGridExSumList::afterClose()
{
    if (active_)
        clearSums();
    walking_ = false;
}

void TDBGridExSumList::rememberContributions(bool inserting)
{
    if (!active_)
        return;
    for (auto &item : items_) {
        data::Field *field = fieldOf(*item);
        bool isNull = !field || field->isNull();
        if (item->GroupOperation == goCount) {
            bool counts = inserting ? (field && !isNull) : !(field && isNull);
            item->remembered_ = counts ? TDBSum::Scale : 0;
        } else {
            item->remembered_ = inserting || isNull ? 0 : fixedPoint(field->asFloat());
            item->rememberedNull_ = inserting || isNull;
        }
    }
}

void TDBGridExSumList::afterPost()
{
    if (!active_)
        return;
    for (auto &item : items_) {
        data::Field *field = fieldOf(*item);
        bool isNull = field && field->isNull();
        std::int64_t now = 0;
        if (item->GroupOperation == goCount)
            now = isNull ? 0 : TDBSum::Scale;
        else if (field && !isNull)
            now = fixedPoint(field->asFloat());
        if (item->GroupOperation == goAvg) {
            item->runningSum_ += now - item->remembered_;
            item->nonNullCount_ += (item->rememberedNull_ ? 1 : 0) - (isNull || !field ? 1 : 0);
            item->value_ = averageOf(item->runningSum_, item->nonNullCount_);
        } else {
            item->value_ += now - item->remembered_;
        }
        item->remembered_ = now;
        item->rememberedNull_ = isNull || !field;
    }
    changed();
}

void TDBGridExSumList::beforeDelete()
{
    if (!active_)
        return;
    for (auto &item : items_) {
        data::Field *field = fieldOf(*item);
        bool isNull = field && field->isNull();
        switch (item->GroupOperation) {
        case goSum:
            if (field && !isNull)
                item->value_ -= fixedPoint(field->asFloat());
            break;
        case goAvg:
            if (field && !isNull) {
                item->runningSum_ -= fixedPoint(field->asFloat());
                --item->nonNullCount_;
            }
            item->value_ = averageOf(item->runningSum_, item->nonNullCount_);
            break;
        case goCount:
            if (!isNull)
                item->value_ -= TDBSum::Scale;
            break;
        }
    }
    changed();
}

void TDBGridExSumList::afterScroll()
{
    if (!active_ || walking_ || !dataSet_)
        return;
    bool filtered = dataSet_->filtered();
    if (filtered != filteredSnapshot_ || (filtered && dataSet_->filter() != filterSnapshot_))
        RecomputeAll();
}

} // namespace grid
