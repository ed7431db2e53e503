#pragma once

#include "data/field.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

namespace data {

class DataLink;
class DataSource;
class Records;

// Every engine failure (missing or locked table file, bad SQL, unknown field,
// operation on an empty dataset) is thrown as this; the message is the text
// the user sees in the error report.
class EDatabaseError : public std::runtime_error {
public:
    explicit EDatabaseError(const QString &message);
    QString message() const { return QString::fromUtf8(what()); }
};

enum class DataSetState { Inactive, Browse, Edit, Insert };

enum LocateOption { loCaseInsensitive = 1, loPartialKey = 2 };

// Events: optional callbacks with the sender first. They are plain members so
// that a hook (the grids' summary lists) can save one, put its own in its
// place and call the saved one from it.
using DataSetNotifyEvent = std::function<void(DataSet &)>;

enum class DataSetEvent {
    AfterOpen,
    AfterClose,
    AfterInsert,
    AfterEdit,
    AfterPost,
    AfterCancel,
    BeforeDelete,
    AfterScroll
};

// An observer that hears every event beside the handler (a grid's summary
// list) and the dataset's end. Any number may watch one dataset; removing
// one leaves the others in place.
class DataSetHook {
public:
    virtual void dataSetEvent(DataSet &dataSet, DataSetEvent event) = 0;
    virtual void dataSetDestroyed(DataSet &dataSet) = 0;

protected:
    ~DataSetHook() = default;
};

// A dataset holds the result of its last open as a snapshot in memory, so
// every positioning operation (first, last, move by n, set record number) is
// constant-time and a grid can jump to the end of a million records at once.
// Reading the snapshot also means a table file replaced on disk since (the
// archive is unpacked at every activation) never disturbs an open result.
class DataSet {
public:
    DataSet();
    virtual ~DataSet();
    DataSet(const DataSet &) = delete;
    DataSet &operator=(const DataSet &) = delete;

    // --- life cycle
    void open();
    void close(); // harmless when closed
    bool active() const { return state_ != DataSetState::Inactive; }
    DataSetState state() const { return state_; }

    // --- fields. Without declared fields every open exposes the result's
    // columns; field objects stay valid until an open with other columns.
    // Declared fields (only while closed) make every open expose exactly
    // those, in declaration order, and keep their presentation settings.
    int fieldCount() const { return int(fields_.size()); }
    Field *field(int index) const;
    Field *findField(const QString &name) const;   // case-insensitive; nullptr when absent
    Field &fieldByName(const QString &name) const; // throws "Field 'X' not found"
    Field &addField(const QString &name);
    bool hasDeclaredFields() const { return declaredFields_; } // their objects exist while closed too
    // Changes whenever field objects are replaced, and differs between any
    // two datasets, so a cached Field pointer can be checked before use.
    quint64 fieldsVersion() const { return fieldsVersion_; }

    // --- navigation; positions are 0-based rows of the snapshot
    void first();
    void last();
    void next() { moveBy(1); }
    void prior() { moveBy(-1); }
    int moveBy(int distance); // returns how far it moved, stopping at either end
    bool bof() const { return bof_; }
    bool eof() const { return eof_; }
    bool isEmpty() const;
    int recordCount() const;  // records of the result (a pending insert not counted)
    int recNo() const;        // 1-based; 0 when empty or closed
    void setRecNo(int recNo); // clamped into 1..recordCount
    bool isSequenced() const { return true; }
    bool locate(const QString &fieldName, const QString &value, int options);

    // --- editing (tables only; a query result is read-only)
    virtual bool canModify() const { return false; }
    void append();
    void insert();
    void edit(); // on an empty dataset starts an insert instead
    void post(); // nothing while browsing
    void cancel();
    void deleteRecord(); // throws "Cannot perform this operation on an empty dataset"
    bool modified() const { return modified_; }

    // --- what grids and navigators need
    void disableControls();
    void enableControls(); // nested; the last one notifies links once
    bool controlsDisabled() const { return disableCount_ > 0; }
    bool filtered() const { return false; }
    QString filter() const { return {}; }

    DataSetNotifyEvent AfterOpen, AfterClose, AfterInsert, AfterEdit, AfterPost, AfterCancel, BeforeDelete, AfterScroll;
    void addHook(DataSetHook *hook);
    void removeHook(DataSetHook *hook);

protected:
    using Snapshot = Records;
    // Subclasses run the engine: fill column names and sizes, and every row.
    virtual void doOpen(Snapshot &result) = 0;
    // Releases what doOpen kept (a table's connection); also after a failed open.
    virtual void doClose() {}
    // Tables store the pending record (values already cut to size) in the
    // engine and in the result; return the row where it stands now.
    virtual int doPost(Snapshot &result, int row, bool inserting, const QStringList &values);
    // Tables remove the row from the engine and from the result.
    virtual void doDelete(Snapshot &result, int row);
    void checkInactive() const; // throws when open

private:
    friend class Field;
    friend class DataLink;
    friend class DataSource;

    void checkActive() const;
    void checkCanModify() const;
    void checkBrowseMode();
    void bindFields(const Snapshot &result);
    void startInsert(int row);
    void endEditing();
    int rowCount() const;
    int readRow() const { return readRow_ >= 0 ? readRow_ : cursor_; }
    void fire(DataSetEvent event);
    void renewFieldsVersion();

    // Field access for the row current for reading.
    bool valueIsNull(int column) const;
    QString value(int column) const;
    void setValue(Field &field, const QString &value);

    // Link notifications. Record windows always follow the cursor; the
    // notifications themselves are held back while controls are disabled.
    enum class WindowMove { Minimal, Centre };
    std::vector<DataLink *> links() const;
    void notifyState();
    void notifyChanged(WindowMove move = WindowMove::Minimal);
    void notifyScrolled();
    void notifyRecord(Field *field);

    DataSetState state_ = DataSetState::Inactive;
    bool modified_ = false;
    int disableCount_ = 0;
    std::unique_ptr<Snapshot> snapshot_;
    std::vector<std::unique_ptr<Field>> fields_;
    bool declaredFields_ = false;
    int cursor_ = -1;  // current row; -1 when empty or closed
    int readRow_ = -1; // row a data link selected for reading; -1 = the cursor
    int rowBeforeInsert_ = -1;
    bool bof_ = true;
    bool eof_ = true;
    QStringList pending_; // values of the record being edited or inserted
    std::vector<DataSource *> sources_;
    std::vector<DataSetHook *> hooks_;
    quint64 fieldsVersion_ = 0;
};

} // namespace data
