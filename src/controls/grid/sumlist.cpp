#include "controls/grid/sumlist.h"

#include "platform/eventcall.h"

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

void TDBGridExSumList::installHooks()
{
    if (hooksInstalled_ || !dataSet_)
        return;
    dataSet_->addHook(this);
    hooksInstalled_ = true;
}

void TDBGridExSumList::removeHooks()
{
    if (!hooksInstalled_)
        return;
    dataSet_->removeHook(this);
    hooksInstalled_ = false;
}

void TDBGridExSumList::dataSetEvent(data::DataSet &, data::DataSetEvent event)
{
    switch (event) {
    case data::DataSetEvent::AfterOpen: afterOpen(); break;
    case data::DataSetEvent::AfterClose: afterClose(); break;
    case data::DataSetEvent::AfterInsert: rememberContributions(true); break;
    case data::DataSetEvent::AfterEdit: rememberContributions(false); break;
    case data::DataSetEvent::AfterPost: afterPost(); break;
    case data::DataSetEvent::AfterCancel: break; // only record-numbering lists act on a cancel
    case data::DataSetEvent::BeforeDelete: beforeDelete(); break;
    case data::DataSetEvent::AfterScroll: afterScroll(); break;
    }
}

// The dataset is going: forget it without touching it again.
void TDBGridExSumList::dataSetDestroyed(data::DataSet &)
{
    hooksInstalled_ = false;
    dataSet_ = nullptr;
    walking_ = false;
    clearSums();
}

void TDBGridExSumList::changed()
{
    platform::callEvent(SumListChanged);
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
    platform::callEvent(OnRecalcAll, *this);
    bool needWalk = false;
    for (const auto &item : items_)
        needWalk |= item->GroupOperation == goCount || !item->FieldName.isEmpty();
    if (needWalk)
        walk();
    platform::callEvent(OnAfterRecalcAll, *this);
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
