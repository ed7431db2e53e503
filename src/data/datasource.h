#pragma once

#include <vector>

namespace data {

class DataSet;
class DataLink;
class Field;

// Connects one dataset to the controls that show it (grids, navigators). All
// links of one source share the dataset's single current record.
class DataSource {
public:
    DataSource() = default;
    explicit DataSource(DataSet *dataSet) { setDataSet(dataSet); }
    ~DataSource();
    DataSource(const DataSource &) = delete;
    DataSource &operator=(const DataSource &) = delete;

    DataSet *dataSet() const { return dataSet_; }
    void setDataSet(DataSet *dataSet);

private:
    friend class DataLink;
    friend class DataSet;
    DataSet *dataSet_ = nullptr;
    std::vector<DataLink *> links_;
};

// A control's view of a data source: a window of consecutive records (the
// record window) that always contains the current record, and notifications
// of every change. Subclass and override the notifications.
class DataLink {
public:
    DataLink() = default;
    virtual ~DataLink();
    DataLink(const DataLink &) = delete;
    DataLink &operator=(const DataLink &) = delete;

    DataSource *dataSource() const { return source_; }
    void setDataSource(DataSource *source);
    DataSet *dataSet() const;
    bool active() const; // a dataset is attached and open

    // Record window. Its size is set by the control (rows that fit); it
    // scrolls only as far as needed to keep the current record inside it.
    int bufferCount() const { return bufferCount_; }
    void setBufferCount(int count);            // at least 1
    int recordCount() const;                   // records actually in the window
    int firstRecord() const { return first_; } // 0-based row of the window's top
    // Index of the current record within the window. Setting it makes field
    // reads of the dataset come from that row (for painting one row); the
    // caller restores the previous value afterwards. It never moves the cursor.
    int activeRecord() const;
    void setActiveRecord(int index);

protected:
    virtual void activeChanged() {}  // dataset opened or closed
    virtual void dataSetChanged() {} // data changed as a whole (open, refresh, post, delete, enableControls)
    virtual void dataSetScrolled(int /*distance*/) {
    } // cursor moved; distance = how far the window's top moved (0 if not)
    virtual void recordChanged(Field * /*field*/) {} // the current record's values changed (field or nullptr for all)
    virtual void layoutChanged() {}                  // the field list changed
    virtual void editingChanged() {}                 // state went to or from edit / insert

private:
    friend class DataSet;
    friend class DataSource;
    int syncWindow(bool centre); // keeps the current record inside; returns the top's shift
    void updateState();          // reports a change of active or editing state
    void restartState();         // the source switched datasets
    DataSource *source_ = nullptr;
    int bufferCount_ = 1;
    int first_ = 0;
    bool reportedActive_ = false;
    bool reportedEditing_ = false;
};

} // namespace data
