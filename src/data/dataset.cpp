#include "data/dataset.h"

#include "data/datasource.h"
#include "data/records.h"

#include <algorithm>

namespace data {

namespace {
const QString kEmptyDataSet = QStringLiteral("Cannot perform this operation on an empty dataset");
const QString kClosedDataSet = QStringLiteral("Таблица закрыта: действие невозможно");
const QString kOpenDataSet = QStringLiteral("Таблица открыта: действие невозможно");
const QString kNotEditing = QStringLiteral("Запись не редактируется и не добавляется");
const QString kReadOnlyDataSet = QStringLiteral("Таблица открыта только для чтения");

bool isEditing(DataSetState state)
{
    return state == DataSetState::Edit || state == DataSetState::Insert;
}

} // namespace

EDatabaseError::EDatabaseError(const QString &message) : std::runtime_error(message.toStdString()) {}

DataSet::DataSet()
{
    renewFieldsVersion();
}

// Everything that points here hears of the end while the dataset can still
// be read from, and none of it calls back into a half-destroyed subclass:
// the sources forget it before their links are told.
DataSet::~DataSet()
{
    for (DataSetHook *hook : std::vector<DataSetHook *>(hooks_))
        hook->dataSetDestroyed(*this);
    for (DataSource *source : std::vector<DataSource *>(sources_))
        source->setDataSet(nullptr);
}

void DataSet::renewFieldsVersion()
{
    static quint64 lastVersion = 0;
    fieldsVersion_ = ++lastVersion;
}

void DataSet::addHook(DataSetHook *hook)
{
    if (std::find(hooks_.begin(), hooks_.end(), hook) == hooks_.end())
        hooks_.push_back(hook);
}

void DataSet::removeHook(DataSetHook *hook)
{
    hooks_.erase(std::remove(hooks_.begin(), hooks_.end(), hook), hooks_.end());
}

// ---------------------------------------------------------------- life cycle

void DataSet::open()
{
    if (active())
        return;
    auto result = std::make_unique<Snapshot>();
    try {
        doOpen(*result);
        bindFields(*result);
    } catch (...) {
        doClose();
        throw;
    }
    snapshot_ = std::move(result);
    state_ = DataSetState::Browse;
    modified_ = false;
    readRow_ = -1;
    cursor_ = rowCount() > 0 ? 0 : -1;
    bof_ = true;
    eof_ = rowCount() == 0;
    notifyState();
    fire(DataSetEvent::AfterOpen);
    if (!isEmpty())
        fire(DataSetEvent::AfterScroll);
}

void DataSet::close()
{
    if (!active())
        return;
    state_ = DataSetState::Inactive;
    modified_ = false;
    pending_.clear();
    doClose();
    snapshot_.reset();
    for (auto &field : fields_)
        field->column_ = -1;
    cursor_ = readRow_ = -1;
    bof_ = eof_ = true;
    notifyState();
    fire(DataSetEvent::AfterClose);
}

void DataSet::bindFields(const Snapshot &result)
{
    if (declaredFields_) {
        for (auto &field : fields_) {
            const int column = result.columnOf(field->name_);
            if (column < 0)
                throw EDatabaseError(QStringLiteral("Поле '%1' не найдено").arg(field->name_));
            field->column_ = column;
            field->size_ = result.sizes[column];
        }
        return;
    }
    const bool sameColumns = fieldCount() == result.columnCount() &&
                             std::equal(fields_.begin(), fields_.end(), result.names.begin(),
                                        [](const auto &field, const QString &name) { return field->name_ == name; });
    if (!sameColumns) {
        renewFieldsVersion();
        fields_.clear();
        for (int i = 0; i < result.columnCount(); ++i)
            fields_.push_back(std::make_unique<Field>(*this, i, result.names[i], 0));
    }
    for (int i = 0; i < result.columnCount(); ++i) {
        fields_[i]->column_ = i;
        fields_[i]->size_ = result.sizes[i];
    }
}

void DataSet::checkActive() const
{
    if (!active())
        throw EDatabaseError(kClosedDataSet);
}

void DataSet::checkInactive() const
{
    if (active())
        throw EDatabaseError(kOpenDataSet);
}

void DataSet::checkCanModify() const
{
    if (!canModify())
        throw EDatabaseError(kReadOnlyDataSet);
}

// Moving away from a record being edited stores it, or drops it when
// nothing was typed, as a user would expect of a form.
void DataSet::checkBrowseMode()
{
    checkActive();
    if (!isEditing(state_))
        return;
    if (modified_)
        post();
    else
        cancel();
}

int DataSet::rowCount() const
{
    return snapshot_ ? snapshot_->rowCount() : 0;
}

// The handler runs first for the events that report a change about to be
// made or just begun, last for those that report one done; hooks run in the
// order in which chained handlers would, and a hook removed by an earlier
// one is skipped.
void DataSet::fire(DataSetEvent event)
{
    static constexpr DataSetNotifyEvent DataSet::*handlers[] = {
        &DataSet::AfterOpen, &DataSet::AfterClose,  &DataSet::AfterInsert,  &DataSet::AfterEdit,
        &DataSet::AfterPost, &DataSet::AfterCancel, &DataSet::BeforeDelete, &DataSet::AfterScroll};
    const bool handlerFirst = event == DataSetEvent::AfterEdit || event == DataSetEvent::AfterCancel ||
                              event == DataSetEvent::BeforeDelete || event == DataSetEvent::AfterScroll;
    // A copy, because a handler may replace itself while it runs.
    const DataSetNotifyEvent handler = this->*handlers[static_cast<int>(event)];
    if (handlerFirst && handler)
        handler(*this);
    std::vector<DataSetHook *> hooks(hooks_);
    if (!handlerFirst)
        std::reverse(hooks.begin(), hooks.end());
    for (DataSetHook *hook : hooks)
        if (std::find(hooks_.begin(), hooks_.end(), hook) != hooks_.end())
            hook->dataSetEvent(*this, event);
    if (!handlerFirst && handler)
        handler(*this);
}

// ---------------------------------------------------------------- fields

Field *DataSet::field(int index) const
{
    return index >= 0 && index < fieldCount() ? fields_[index].get() : nullptr;
}

Field *DataSet::findField(const QString &name) const
{
    for (const auto &field : fields_) {
        if (field->name_.compare(name, Qt::CaseInsensitive) == 0)
            return field.get();
    }
    return nullptr;
}

Field &DataSet::fieldByName(const QString &name) const
{
    if (Field *found = findField(name))
        return *found;
    throw EDatabaseError(QStringLiteral("Поле '%1' не найдено").arg(name));
}

Field &DataSet::addField(const QString &name)
{
    checkInactive();
    if (!declaredFields_)
        fields_.clear();
    declaredFields_ = true;
    renewFieldsVersion();
    fields_.push_back(std::make_unique<Field>(*this, fieldCount(), name, 0));
    return *fields_.back();
}

bool DataSet::valueIsNull(int column) const
{
    const int row = readRow();
    if (!active() || column < 0 || row < 0)
        return true;
    if (row == cursor_ && isEditing(state_))
        return pending_[column].isEmpty();
    return snapshot_->isNull(row, column);
}

QString DataSet::value(int column) const
{
    const int row = readRow();
    if (!active() || column < 0 || row < 0)
        return {};
    if (row == cursor_ && isEditing(state_))
        return pending_[column];
    return snapshot_->string(row, column);
}

void DataSet::setValue(Field &field, const QString &value)
{
    if (!isEditing(state_))
        throw EDatabaseError(kNotEditing);
    if (field.readOnly_)
        throw EDatabaseError(QStringLiteral("Поле '%1' нельзя изменить").arg(field.name_));
    pending_[field.column_] = value.isEmpty() ? QString() : value;
    modified_ = true;
    notifyRecord(&field);
}

// ---------------------------------------------------------------- navigation

bool DataSet::isEmpty() const
{
    return rowCount() == 0;
}

int DataSet::recordCount() const
{
    return rowCount() - (state_ == DataSetState::Insert ? 1 : 0);
}

int DataSet::recNo() const
{
    return active() && cursor_ >= 0 ? cursor_ + 1 : 0;
}

void DataSet::first()
{
    checkBrowseMode();
    cursor_ = isEmpty() ? -1 : 0;
    bof_ = true;
    eof_ = isEmpty();
    notifyChanged();
    fire(DataSetEvent::AfterScroll);
}

void DataSet::last()
{
    checkBrowseMode();
    cursor_ = rowCount() - 1;
    bof_ = isEmpty();
    eof_ = true;
    notifyChanged();
    fire(DataSetEvent::AfterScroll);
}

int DataSet::moveBy(int distance)
{
    checkBrowseMode();
    if (distance == 0 || (distance > 0 && eof_) || (distance < 0 && bof_))
        return 0;
    bof_ = eof_ = false;
    const long long target = std::clamp<long long>(static_cast<long long>(cursor_) + distance, 0, rowCount() - 1);
    const int moved = int(target - cursor_);
    if (moved != distance)
        (distance > 0 ? eof_ : bof_) = true;
    cursor_ = int(target);
    notifyScrolled();
    fire(DataSetEvent::AfterScroll);
    return moved;
}

void DataSet::setRecNo(int recNo)
{
    checkBrowseMode();
    if (isEmpty())
        return;
    const int row = std::clamp(recNo, 1, rowCount()) - 1;
    if (row == cursor_)
        return;
    cursor_ = row;
    bof_ = eof_ = false;
    notifyChanged(WindowMove::Centre);
    fire(DataSetEvent::AfterScroll);
}

bool DataSet::locate(const QString &fieldName, const QString &value, int options)
{
    checkBrowseMode();
    const int column = fieldByName(fieldName).column_;
    const bool caseless = options & loCaseInsensitive;
    const bool partial = options & loPartialKey;
    const QString key = caseless ? value.toCaseFolded() : value;
    for (int row = 0; row < rowCount(); ++row) {
        const QString text = caseless ? snapshot_->string(row, column).toCaseFolded() : snapshot_->string(row, column);
        if (partial ? text.startsWith(key) : text == key) {
            cursor_ = row;
            bof_ = eof_ = false;
            notifyChanged(WindowMove::Centre);
            fire(DataSetEvent::AfterScroll);
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------- editing

void DataSet::append()
{
    checkBrowseMode();
    startInsert(rowCount());
}

void DataSet::insert()
{
    checkBrowseMode();
    startInsert(std::max(cursor_, 0));
}

void DataSet::startInsert(int row)
{
    checkCanModify();
    rowBeforeInsert_ = cursor_;
    snapshot_->insertRow(row);
    cursor_ = row;
    pending_ = QStringList(snapshot_->columnCount());
    state_ = DataSetState::Insert;
    modified_ = false;
    bof_ = false;
    eof_ = row == rowCount() - 1; // an appended record stands at the end
    notifyState();
    notifyChanged();
    fire(DataSetEvent::AfterInsert);
    fire(DataSetEvent::AfterScroll);
}

void DataSet::edit()
{
    checkActive();
    if (isEditing(state_))
        return;
    if (isEmpty()) {
        insert();
        return;
    }
    checkCanModify();
    pending_.clear();
    for (int column = 0; column < snapshot_->columnCount(); ++column)
        pending_.append(snapshot_->string(cursor_, column));
    state_ = DataSetState::Edit;
    modified_ = false;
    notifyState();
    notifyRecord(nullptr);
    fire(DataSetEvent::AfterEdit);
}

void DataSet::post()
{
    checkActive();
    if (!isEditing(state_))
        return;
    QStringList values;
    for (int column = 0; column < pending_.size(); ++column)
        values.append(cutToSize(pending_[column], snapshot_->sizes[column]));
    // On failure the record stays in edit, so the user can try again.
    cursor_ = doPost(*snapshot_, cursor_, state_ == DataSetState::Insert, values);
    endEditing();
    notifyChanged();
    fire(DataSetEvent::AfterPost);
}

void DataSet::cancel()
{
    if (!isEditing(state_))
        return;
    if (state_ == DataSetState::Insert) {
        snapshot_->removeRow(cursor_);
        cursor_ = std::min(rowBeforeInsert_, rowCount() - 1);
        bof_ = eof_ = isEmpty();
    }
    endEditing();
    notifyChanged();
    fire(DataSetEvent::AfterCancel);
}

void DataSet::endEditing()
{
    state_ = DataSetState::Browse;
    pending_.clear();
    modified_ = false;
    notifyState();
}

void DataSet::deleteRecord()
{
    checkActive();
    if (state_ == DataSetState::Insert) {
        cancel();
        return;
    }
    checkCanModify();
    if (isEmpty())
        throw EDatabaseError(kEmptyDataSet);
    if (state_ == DataSetState::Edit)
        endEditing();
    fire(DataSetEvent::BeforeDelete);
    doDelete(*snapshot_, cursor_);
    cursor_ = std::min(cursor_, rowCount() - 1);
    if (isEmpty())
        bof_ = eof_ = true;
    notifyChanged();
    fire(DataSetEvent::AfterScroll);
}

int DataSet::doPost(Snapshot &, int, bool, const QStringList &)
{
    throw EDatabaseError(kReadOnlyDataSet);
}

void DataSet::doDelete(Snapshot &, int)
{
    throw EDatabaseError(kReadOnlyDataSet);
}

// ---------------------------------------------------------------- links

void DataSet::disableControls()
{
    ++disableCount_;
}

void DataSet::enableControls()
{
    if (disableCount_ == 0 || --disableCount_ > 0)
        return;
    notifyState();
    notifyChanged();
}

std::vector<DataLink *> DataSet::links() const
{
    std::vector<DataLink *> all;
    for (DataSource *source : sources_)
        all.insert(all.end(), source->links_.begin(), source->links_.end());
    return all;
}

void DataSet::notifyState()
{
    if (controlsDisabled())
        return;
    for (DataLink *link : links())
        link->updateState();
}

void DataSet::notifyChanged(WindowMove move)
{
    readRow_ = -1; // a row selected for painting never outlives a move
    for (DataLink *link : links()) {
        link->syncWindow(move == WindowMove::Centre);
        if (!controlsDisabled() && link->reportedActive_)
            link->dataSetChanged();
    }
}

void DataSet::notifyScrolled()
{
    readRow_ = -1;
    if (controlsDisabled()) {
        // A walk: keep the windows in step without copying the link list.
        for (DataSource *source : sources_) {
            for (DataLink *link : source->links_)
                link->syncWindow(false);
        }
        return;
    }
    for (DataLink *link : links()) {
        const int distance = link->syncWindow(false);
        if (link->reportedActive_)
            link->dataSetScrolled(distance);
    }
}

void DataSet::notifyRecord(Field *field)
{
    if (controlsDisabled())
        return;
    for (DataLink *link : links()) {
        if (link->reportedActive_)
            link->recordChanged(field);
    }
}

} // namespace data
