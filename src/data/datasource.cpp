#include "data/datasource.h"

#include "data/dataset.h"

#include <algorithm>

namespace data {

namespace {
template <typename T> void removeOne(std::vector<T *> &list, T *item)
{
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}
} // namespace

// Every link hears that its dataset is gone, as when the source is unset.
DataSource::~DataSource()
{
    if (dataSet_)
        removeOne(dataSet_->sources_, this);
    for (DataLink *link : std::vector<DataLink *>(links_)) {
        link->source_ = nullptr;
        link->restartState();
    }
}

void DataSource::setDataSet(DataSet *dataSet)
{
    if (dataSet == dataSet_)
        return;
    if (dataSet_)
        removeOne(dataSet_->sources_, this);
    dataSet_ = dataSet;
    if (dataSet_)
        dataSet_->sources_.push_back(this);
    for (DataLink *link : std::vector<DataLink *>(links_))
        link->restartState();
}

DataLink::~DataLink()
{
    if (source_)
        removeOne(source_->links_, this);
}

void DataLink::setDataSource(DataSource *source)
{
    if (source == source_)
        return;
    if (source_)
        removeOne(source_->links_, this);
    source_ = source;
    if (source_)
        source_->links_.push_back(this);
    restartState();
}

DataSet *DataLink::dataSet() const
{
    return source_ ? source_->dataSet_ : nullptr;
}

bool DataLink::active() const
{
    const DataSet *set = dataSet();
    return set && set->active();
}

void DataLink::setBufferCount(int count)
{
    bufferCount_ = std::max(count, 1);
    syncWindow(false);
}

int DataLink::recordCount() const
{
    if (!active())
        return 0;
    return std::min(bufferCount_, dataSet()->rowCount() - first_);
}

int DataLink::activeRecord() const
{
    return active() ? std::max(dataSet()->readRow() - first_, 0) : 0;
}

void DataLink::setActiveRecord(int index)
{
    if (!active() || index < 0 || index >= recordCount())
        return;
    DataSet *set = dataSet();
    const int row = first_ + index;
    set->readRow_ = row == set->cursor_ ? -1 : row;
}

// The window moves as little as it must to hold the current record (or puts
// it in the middle after a jump) and stays full while there are records.
int DataLink::syncWindow(bool centre)
{
    const int oldFirst = first_;
    if (!active()) {
        first_ = 0;
        return 0;
    }
    const DataSet *set = dataSet();
    const int cursor = set->cursor_;
    if (cursor >= 0 && (cursor < first_ || cursor >= first_ + bufferCount_)) {
        if (centre)
            first_ = cursor - bufferCount_ / 2;
        else
            first_ = cursor < first_ ? cursor : cursor - bufferCount_ + 1;
    }
    first_ = std::clamp(first_, 0, std::max(set->rowCount() - bufferCount_, 0));
    return first_ - oldFirst;
}

void DataLink::updateState()
{
    const bool nowActive = active();
    if (nowActive != reportedActive_) {
        reportedActive_ = nowActive;
        first_ = 0;
        syncWindow(false);
        activeChanged();
    }
    const DataSetState state = nowActive ? dataSet()->state() : DataSetState::Inactive;
    const bool nowEditing = state == DataSetState::Edit || state == DataSetState::Insert;
    if (nowEditing != reportedEditing_) {
        reportedEditing_ = nowEditing;
        editingChanged();
    }
}

void DataLink::restartState()
{
    if (reportedActive_) {
        reportedActive_ = reportedEditing_ = false;
        activeChanged();
    }
    first_ = 0;
    updateState();
}

} // namespace data
