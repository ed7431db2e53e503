#pragma once

#include <QString>
#include <Qt>
#include <string_view>

namespace data {

class DataSet;

// The value as a field of that size stores it: sizes count characters (code
// points), never bytes or UTF-16 units; 0 means unlimited.
QString cutToSize(const QString &value, int size);
// The same rule on UTF-8 text: the bytes of its first size characters.
std::string_view cutToSize(std::string_view utf8, int size);

// One column of a dataset. Values are read from the dataset's record that is
// current for reading (the cursor, or a row a data link selected for painting)
// and written into the pending record while the dataset edits or inserts.
class Field {
public:
    Field(DataSet &owner, int index, QString name, int size);

    const QString &fieldName() const { return name_; }
    int index() const { return index_; }
    int size() const { return size_; } // declared size in characters; 0 = unlimited
    DataSet &dataSet() const { return owner_; }

    // Presentation, declared by the window that owns the dataset.
    QString displayLabel() const { return displayLabel_.isEmpty() ? name_ : displayLabel_; }
    void setDisplayLabel(const QString &label) { displayLabel_ = label; }
    int displayWidth() const { return displayWidth_ > 0 ? displayWidth_ : size_; } // characters
    void setDisplayWidth(int chars) { displayWidth_ = chars; }
    Qt::Alignment alignment() const { return alignment_; }
    void setAlignment(Qt::Alignment a) { alignment_ = a; }
    bool isReadOnly() const { return readOnly_; }
    void setReadOnly(bool r) { readOnly_ = r; }

    bool isNull() const;
    QString asString() const; // empty for null
    QString displayText() const { return asString(); }
    double asFloat() const; // 0 for null or non-numeric text
    // Only while the dataset edits or inserts; throws EDatabaseError otherwise.
    // An empty text stores null; a longer text is cut to size() characters on post.
    void setAsString(const QString &value);

private:
    friend class DataSet;
    DataSet &owner_;
    int index_;
    QString name_;
    int size_;
    int column_ = -1; // column of the open result; -1 when not open
    QString displayLabel_;
    int displayWidth_ = 0;
    Qt::Alignment alignment_ = Qt::AlignLeft;
    bool readOnly_ = false;
};

} // namespace data
