#pragma once

#include "controls/combo/dropdowngeometry.h"
#include "controls/combo/editbuttonface.h"
#include "platform/wheelnotches.h"

#include <QImage>
#include <QKeySequence>
#include <QLineEdit>
#include <QStringList>

#include <functional>

class TEditButtonControlEx;
class TPopupListboxEx;

// A single-line edit with a drop-down button and a pop-up list of fixed
// strings. Free text is allowed; the index follows the text, typing
// completes to the first item that begins with what was typed.
class TDBComboBoxEx : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(QStringList Items READ items WRITE setItems)
    Q_PROPERTY(int ItemIndex READ itemIndex WRITE setItemIndex)
    Q_PROPERTY(QString Text READ text WRITE setText)
    Q_PROPERTY(TEditCharCase CharCase READ charCase WRITE setCharCase)
    Q_PROPERTY(TEditButtonEx EditButton READ editButton WRITE setEditButton)
    Q_PROPERTY(TDropDownBoxEx DropDownBox READ dropDownBox WRITE setDropDownBox)
    Q_PROPERTY(bool AutoSelect READ autoSelect WRITE setAutoSelect)
    Q_PROPERTY(bool AutoSize READ autoSize WRITE setAutoSize)
    Q_PROPERTY(bool ReadOnly READ isReadOnly WRITE setReadOnly)
public:
    enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
    using TEditButtonStyleEx = combo::TEditButtonStyleEx;
    // The main button. A drop-down button opens and closes the list, an
    // up-down button steps through the items; the others only raise the
    // button events. Its shortcut presses it while it is visible.
    struct TEditButtonEx {
        TEditButtonStyleEx Style = combo::ebsDropDownEx;
        bool Visible = true;
        int Width = 0; // 0: the width of a vertical scroll bar
        QKeySequence ShortCut{Qt::ALT | Qt::Key_Down};
        QImage Glyph; // the face of an ebsGlyphEx button
        bool operator==(const TEditButtonEx &) const = default;
    };
    struct TDropDownBoxEx {
        combo::TDropDownAlign Align = combo::daLeft;
        int Rows = 7;
        int Width = 0; // -1: fit the widest item; below 1: the edit's width
    };
    using NotifyEvent = std::function<void(TDBComboBoxEx &sender)>;
    using CloseUpEvent = std::function<void(TDBComboBoxEx &sender, bool accept)>;
    // `top`: the upper half of an up-down button; `handled` skips the
    // button's own action.
    using ButtonDownEvent = std::function<void(TDBComboBoxEx &sender, bool top, bool &handled)>;
    using NotInListEvent = std::function<void(TDBComboBoxEx &sender, const QString &text)>;
    // `handled` keeps the stored value as it was.
    using UpdateDataEvent = std::function<void(TDBComboBoxEx &sender, bool &handled)>;

    explicit TDBComboBoxEx(QWidget *parent = nullptr);
    ~TDBComboBoxEx() override;

    QStringList items() const { return items_; }
    void setItems(const QStringList &items);
    int itemIndex() const { return index_; }
    void setItemIndex(int index);
    TEditCharCase charCase() const { return charCase_; }
    void setCharCase(TEditCharCase value);
    TEditButtonEx editButton() const { return editButton_; }
    void setEditButton(const TEditButtonEx &value);
    TDropDownBoxEx dropDownBox() const { return dropDownBox_; }
    void setDropDownBox(const TDropDownBoxEx &value);
    bool autoSelect() const { return autoSelect_; }
    void setAutoSelect(bool value) { autoSelect_ = value; }
    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool value);

    void OpenList();
    void CloseList(bool accept);
    void SelectNextItem(bool backwards);

    NotifyEvent OnChange;
    NotifyEvent OnDropDown;
    CloseUpEvent OnCloseUp;
    // A press of the main button, or its shortcut.
    ButtonDownEvent OnButtonDown;
    // The main button was released over itself after a press, or its
    // shortcut was pressed.
    NotifyEvent OnButtonClick;
    // A changed text that matches no item is being committed; the handler
    // may add it to the items.
    NotInListEvent OnNotInList;
    // A changed text is about to become the stored value.
    UpdateDataEvent OnUpdateData;

    bool listShown() const;
    TPopupListboxEx *list() const { return list_; }
    TEditButtonControlEx *button() const { return button_; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool editable() const { return !isReadOnly() && isEnabled(); }
    QString withCharCase(const QString &s) const;
    bool handleListKey(QKeyEvent *event);
    bool handleClosedKey(QKeyEvent *event);
    void completeTyping();
    void followText();
    void onTextChanged();
    void textEditedTo(const QString &text);
    void showItem(int index);
    void commit();
    void updateData();
    void pressByShortCut();
    void toggleList();
    void relayout();
    void createList();
    QRect listGeometry() const;

    void buttonPressed(bool top);
    void buttonAction(bool top);
    void buttonDragged(QPoint global);
    void buttonReleased(QPoint global, bool overButton);

    QStringList items_;
    int index_ = -1;
    TEditCharCase charCase_ = ecNormal;
    TEditButtonEx editButton_;
    TDropDownBoxEx dropDownBox_;
    bool autoSelect_ = true;
    bool autoSize_ = true;

    QString storedValue_;
    bool modified_ = false;
    bool keepListOnRelease_ = false; // the press that opened the list
    bool dragInList_ = false;
    bool shownAnew_ = false; // shown since the control last had the focus
    platform::WheelNotches wheelNotches_;

    TEditButtonControlEx *button_;
    TPopupListboxEx *list_ = nullptr;
};
