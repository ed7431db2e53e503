#pragma once

#include "data/dataset.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace grid {

enum TGroupOperation { goSum, goAvg, goCount };

// One aggregate. Values are fixed-point with four decimals (value x 10000),
// so counts and sums stay exact across any number of incremental changes.
class TDBSum {
public:
    static constexpr std::int64_t Scale = 10000;

    TDBSum(TGroupOperation operation, QString fieldName) : GroupOperation(operation), FieldName(std::move(fieldName)) {}

    const TGroupOperation GroupOperation;
    const QString FieldName;

    std::int64_t value() const { return value_; }
    double asFloat() const { return static_cast<double>(value_) / Scale; }

private:
    friend class TDBGridExSumList;
    std::int64_t value_ = 0;
    std::int64_t runningSum_ = 0;   // goAvg
    std::int32_t nonNullCount_ = 0; // goAvg
    std::int64_t remembered_ = 0;   // contribution when editing or inserting began
    bool rememberedNull_ = true;    // goAvg: whether the field was null then
};

// Keeps the aggregates of a grid's footers over the grid's dataset: one walk
// on open, then constant-time updates from the dataset's own events, which it
// hears through a hook while active, beside the handlers and other lists.
class TDBGridExSumList : private data::DataSetHook {
public:
    // `ownerLoading` tells whether the owning grid is still being set up.
    explicit TDBGridExSumList(std::function<bool()> ownerLoading);
    ~TDBGridExSumList();
    TDBGridExSumList(const TDBGridExSumList &) = delete;
    TDBGridExSumList &operator=(const TDBGridExSumList &) = delete;

    bool active() const { return active_; }
    void setActive(bool active);
    data::DataSet *dataSet() const { return dataSet_; }
    // Switching datasets deactivates on the old one and re-activates on the
    // new one when the list was active; the same dataset is a no-op.
    void setDataSet(data::DataSet *dataSet);
    // The owner finished its set-up: activate when a dataset and Active are set.
    void loaded();

    TDBSum *addItem(TGroupOperation operation, const QString &fieldName);
    void removeItem(TDBSum *item);
    const std::vector<std::unique_ptr<TDBSum>> &items() const { return items_; }

    void RecomputeAll();
    void clearSums();

    std::function<void()> SumListChanged;
    std::function<void(TDBGridExSumList &)> OnRecalcAll, OnAfterRecalcAll;

private:
    void dataSetEvent(data::DataSet &dataSet, data::DataSetEvent event) override;
    void dataSetDestroyed(data::DataSet &dataSet) override;
    void installHooks();
    void removeHooks();
    void changed();
    void afterOpen();
    void afterClose();
    void rememberContributions(bool inserting);
    void afterPost();
    void beforeDelete();
    void afterScroll();
    void walk();
    data::Field *fieldOf(const TDBSum &item) const;

    std::function<bool()> ownerLoading_;
    std::vector<std::unique_ptr<TDBSum>> items_;
    data::DataSet *dataSet_ = nullptr;
    bool active_ = false;
    bool hooksInstalled_ = false;
    bool walking_ = false;
    bool filteredSnapshot_ = false;
    QString filterSnapshot_;
};

} // namespace grid
