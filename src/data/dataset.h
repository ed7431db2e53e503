#pragma once

#include "field.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

namespace data {

class DataLink;
class DataSource;

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
    void close();                       // harmless when closed
    bool active() const { return state_ != DataSetState::Inactive; }
    DataSetState state() const { return state_; }

    // --- fields (valid while active)
    int fieldCount() const;
    Field *field(int index) const;
    Field *findField(const QString &name) const;   // case-insensitive; nullptr when absent
    Field &fieldByName(const QString &name) const; // throws "Field 'X' not found"

    // --- navigation; positions are 0-based rows of the snapshot
    void first();
    void last();
    void next();
    void prior();
    int moveBy(int distance);           // returns how far it moved, stopping at either end
    bool bof() const;
    bool eof() const;
    bool isEmpty() const;
    int recordCount() const;            // records of the result (a pending insert not counted)
    int recNo() const;                  // 1-based; 0 when empty or closed
    void setRecNo(int recNo);           // clamped into 1..recordCount
    bool isSequenced() const { return true; }
    bool locate(const QString &fieldName, const QString &value, int options);

    // --- editing (tables only; a query result is read-only)
    virtual bool canModify() const { return false; }
    void append();
    void insert();
    void edit();                        // on an empty dataset starts an insert instead
    void post();
    void cancel();
    void deleteRecord();                // throws "Cannot perform this operation on an empty dataset"
    bool modified() const { return modified_; }

    // --- what grids and navigators need
    void disableControls();
    void enableControls();              // nested; the last one notifies links once
    bool controlsDisabled() const { return disableCount_ > 0; }
    bool filtered() const { return false; }
    QString filter() const { return {}; }

    DataSetNotifyEvent AfterOpen, AfterClose, AfterInsert, AfterEdit, AfterPost, AfterCancel, BeforeDelete,
        AfterScroll;

protected:
    struct Snapshot;
    // Subclasses run the engine: fill column names and sizes, and every row.
    virtual void doOpen(Snapshot &result) = 0;
    // Tables store the pending record; return the values as stored.
    virtual void doPost(Snapshot &result, int row, bool inserting);
    virtual void doDelete(Snapshot &result, int row);

private:
    friend class Field;
    friend class DataLink;
    friend class DataSource;
    // The data helper adds the snapshot, the cursor, the pending record, the
    // attached data sources and the read-row override here.
    DataSetState state_ = DataSetState::Inactive;
    bool modified_ = false;
    int disableCount_ = 0;
};

} // namespace data
