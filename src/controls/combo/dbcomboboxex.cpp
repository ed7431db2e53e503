#include "controls/combo/dbcomboboxex.h"

#include "controls/combo/comboaccessible.h"
#include "controls/combo/editbuttoncontrol.h"
#include "controls/combo/popuplistbox.h"
#include "platform/accessibility.h"
#include "platform/drawing.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QWheelEvent>

#include <cstdlib>
#include <utility>

using namespace combo;

TDBComboBoxEx::TDBComboBoxEx(QWidget *parent) : QLineEdit(parent), button_(new TEditButtonControlEx(this))
{
    platform::registerAccessible<TDBComboBoxEx>(createComboAccessible);
    setFrame(false);
    setContentsMargins(kEdgeWidth, kEdgeWidth, kEdgeWidth, kEdgeWidth);
    button_->OnPress = [this](bool top) { buttonPressed(top); };
    button_->OnDrag = [this](QPoint global) { buttonDragged(global); };
    button_->OnRelease = [this](QPoint global, bool overButton) { buttonReleased(global, overButton); };
    connect(this, &QLineEdit::textChanged, this, [this] { onTextChanged(); });
    connect(this, &QLineEdit::textEdited, this, [this](const QString &t) { textEditedTo(t); });
    relayout();
}

TDBComboBoxEx::~TDBComboBoxEx()
{
    qApp->removeEventFilter(this);
}

void TDBComboBoxEx::setItems(const QStringList &items)
{
    items_ = items;
    followText();
}

void TDBComboBoxEx::setItemIndex(int index)
{
    if (index != index_)
        showItem(index);
    commit();
}

void TDBComboBoxEx::setCharCase(TEditCharCase value)
{
    charCase_ = value;
    setText(withCharCase(text()));
}

void TDBComboBoxEx::setEditButton(const TEditButtonEx &value)
{
    if (value == editButton_)
        return;
    editButton_ = value;
    button_->setFace(value.Style, value.Glyph);
    button_->setVisible(value.Visible);
    if (!value.Visible)
        CloseList(false);
    relayout();
}

void TDBComboBoxEx::setDropDownBox(const TDropDownBoxEx &value)
{
    if (value.Rows >= 1)
        dropDownBox_ = value;
}

void TDBComboBoxEx::setAutoSize(bool value)
{
    if (value == autoSize_)
        return;
    autoSize_ = value;
    relayout();
}

QString TDBComboBoxEx::withCharCase(const QString &s) const
{
    switch (charCase_) {
    case ecUpperCase: return s.toUpper();
    case ecLowerCase: return s.toLower();
    default: return s;
    }
}

bool TDBComboBoxEx::listShown() const
{
    return list_ && list_->isVisible();
}

// The text shows the item (or nothing for an index out of range) without
// committing it; the index then follows the text.
void TDBComboBoxEx::showItem(int index)
{
    const bool inRange = index >= 0 && index < items_.size();
    setText(inRange ? items_[index] : QString());
}

// Leaving the control with a changed text: the owner hears of a text that
// is no item and may veto storing it.
void TDBComboBoxEx::updateData()
{
    if (index_ == -1 && !text().isEmpty())
        if (auto handler = OnNotInList)
            handler(*this, text());
    bool handled = false;
    if (auto handler = OnUpdateData)
        handler(*this, handled);
    if (!handled)
        commit();
}

void TDBComboBoxEx::commit()
{
    storedValue_ = text();
    modified_ = false;
}

// The index is that of the first item equal to the whole text, ignoring
// case; an open list selects it.
void TDBComboBoxEx::followText()
{
    index_ = -1;
    for (int i = 0; i < items_.size(); ++i)
        if (items_[i].compare(text(), Qt::CaseInsensitive) == 0) {
            index_ = i;
            break;
        }
    if (listShown())
        list_->setCurrentRow(index_);
}

void TDBComboBoxEx::onTextChanged()
{
    followText();
    modified_ = true;
    if (auto handler = OnChange)
        handler(*this);
}

// Pasted or dropped text gets the character case that typing gets.
void TDBComboBoxEx::textEditedTo(const QString &t)
{
    const QString cased = withCharCase(t);
    if (cased == t)
        return;
    const int cursor = cursorPosition();
    setText(cased);
    setCursorPosition(cursor);
}

void TDBComboBoxEx::SelectNextItem(bool backwards)
{
    if (!editable() || items_.isEmpty())
        return;
    int next = index_;
    if (backwards)
        next = index_ > 0 ? index_ - 1 : (index_ == -1 ? int(items_.size()) - 1 : 0);
    else
        next = index_ < int(items_.size()) - 1 ? index_ + 1 : index_;
    if (next == index_)
        return;
    showItem(next);
    selectAll();
}

void TDBComboBoxEx::completeTyping()
{
    const QString typed = text();
    if (!editable() || cursorPosition() != typed.size() || hasSelectedText())
        return;
    for (int i = 0; i < items_.size(); ++i) {
        if (!items_[i].startsWith(typed, Qt::CaseInsensitive))
            continue;
        if (i != index_)
            setText(items_[i]);
        // The caret stays after the typed characters; the completion is
        // selected so the next character replaces it.
        setSelection(text().size(), typed.size() - text().size());
        return;
    }
}

void TDBComboBoxEx::keyPressEvent(QKeyEvent *event)
{
    const auto mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (editButton_.Visible && QKeySequence(QKeyCombination(mods, Qt::Key(event->key()))) == editButton_.ShortCut) {
        pressByShortCut();
        return;
    }
    if (listShown() ? handleListKey(event) : handleClosedKey(event))
        return;

    const QString typed = event->text();
    QKeyEvent cased(event->type(), event->key(), event->modifiers(), withCharCase(typed), event->isAutoRepeat(),
                    ushort(event->count()));
    QLineEdit::keyPressEvent(&cased);
    event->setAccepted(cased.isAccepted());
    const bool character = typed.size() == 1 && typed[0].isPrint() && typed != QLatin1String(".");
    if (character && !(mods & Qt::ControlModifier))
        completeTyping();
}

// Keys that move the list's selection go to the list. They are told by
// key, not by character code: "!", the double quote, "&" and "(" share their
// codes with Page Up, Page Down, Up and Down, and a routing by code would
// send them to the list, where they are lost. Here they stay typed text.
bool TDBComboBoxEx::handleListKey(QKeyEvent *event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Up:
    case Qt::Key_Down: QApplication::sendEvent(list_, event); return true;
    case Qt::Key_Home:
    case Qt::Key_End:
        if (!ctrl)
            return false;
        QApplication::sendEvent(list_, event);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: CloseList(true); return true;
    case Qt::Key_Escape: CloseList(false); return true;
    default: return false;
    }
}

bool TDBComboBoxEx::handleClosedKey(QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down: SelectNextItem(event->key() == Qt::Key_Up); return true;
    case Qt::Key_Escape:
        setText(storedValue_);
        modified_ = false;
        selectAll();
        event->ignore(); // on to the window, which may close on Escape
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->ignore(); // for the window's own Enter handling
        return true;
    default: return false;
    }
}

void TDBComboBoxEx::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    const auto reason = event->reason();
    // The focus that comes with the window's activation enters the control
    // when the window was shown anew; otherwise the user is only coming back
    // from another program.
    const bool windowShown = std::exchange(shownAnew_, false);
    const bool entered = reason == Qt::ActiveWindowFocusReason
                             ? windowShown
                             : reason != Qt::MouseFocusReason && reason != Qt::PopupFocusReason;
    if (autoSelect_ && entered)
        selectAll();
}

void TDBComboBoxEx::showEvent(QShowEvent *event)
{
    QLineEdit::showEvent(event);
    if (!event->spontaneous()) // not a window restored from the task bar
        shownAnew_ = true;
}

void TDBComboBoxEx::focusOutEvent(QFocusEvent *event)
{
    CloseList(false);
    const auto reason = event->reason();
    if (modified_ && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        updateData();
    QLineEdit::focusOutEvent(event);
}

void TDBComboBoxEx::wheelEvent(QWheelEvent *event)
{
    const auto mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (!listShown() && mods == Qt::NoModifier) {
        const int notches = wheelNotches_.take(event->angleDelta().y());
        for (int i = 0; i < std::abs(notches); ++i)
            SelectNextItem(notches > 0);
    }
    event->accept();
}

void TDBComboBoxEx::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    relayout();
}

void TDBComboBoxEx::hideEvent(QHideEvent *event)
{
    CloseList(false);
    QLineEdit::hideEvent(event);
}

void TDBComboBoxEx::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        relayout();
    else if (event->type() == QEvent::EnabledChange && !isEnabled())
        CloseList(false);
}

// The sunken 3-D edge around the edit; the text is kept clear of the button.
void TDBComboBoxEx::paintEvent(QPaintEvent *event)
{
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    platform::drawEdge(painter, {0, 0, width(), height()}, platform::EDGE_SUNKEN);
}

void TDBComboBoxEx::relayout()
{
    if (autoSize_)
        setFixedHeight(autoHeight(platform::textHeight(font())));
    const int width = editButton_.Width > 0 ? editButton_.Width : style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const QSize client = size() - QSize(2 * kEdgeWidth, 2 * kEdgeWidth);
    button_->setGeometry(buttonRect(client, width).translated(kEdgeWidth, kEdgeWidth));
    setTextMargins(0, 0, editButton_.Visible ? width : 0, 0);
}

void TDBComboBoxEx::toggleList()
{
    if (listShown())
        CloseList(false);
    else
        OpenList();
}

void TDBComboBoxEx::createList()
{
    list_ = new TPopupListboxEx(this);
    list_->OnRelease = [this](bool accept) { CloseList(accept); };
}

QRect TDBComboBoxEx::listGeometry() const
{
    const int rows = std::max(1, std::min(dropDownBox_.Rows, int(items_.size())));
    int width = dropDownBox_.Width;
    if (width == -1)
        width = list_->widestText() + 5 + 2 * kEdgeWidth;
    else if (width < 1)
        width = this->width();
    const QRect control(mapToGlobal(QPoint(0, 0)), size());
    const QScreen *screen = QGuiApplication::screenAt(control.center());
    return placeDropDownList({.control = control,
                              .list = {std::max(width, this->width()), listHeight(rows, list_->itemHeight())},
                              .workArea = (screen ? screen : this->screen())->availableGeometry(),
                              .align = dropDownBox_.Align,
                              .itemHeight = list_->itemHeight()});
}

void TDBComboBoxEx::OpenList()
{
    if (listShown())
        return;
    button_->setHeld(true);
    if (auto handler = OnDropDown)
        handler(*this);
    if (!list_)
        createList();
    list_->setFont(font());
    list_->setPalette(palette());
    list_->setItemHeight(platform::textHeight(font()));
    list_->setTexts(items_);
    list_->setCurrentRow(index_);
    list_->setGeometry(listGeometry());
    list_->show();
    qApp->installEventFilter(this);
}

void TDBComboBoxEx::CloseList(bool accept)
{
    if (!listShown())
        return;
    qApp->removeEventFilter(this);
    list_->hide();
    if (accept && editable()) {
        const int selection = list_->currentRow();
        if (selection != index_)
            showItem(selection);
        if (hasFocus())
            selectAll();
    }
    if (auto handler = OnCloseUp)
        handler(*this, accept);
    button_->setHeld(false);
}

// While the list is shown, a press anywhere but on the list or the button
// closes it without taking its selection.
bool TDBComboBoxEx::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType()) {
        auto *target = static_cast<QWidget *>(watched);
        if (target != button_ && target != list_ && !list_->isAncestorOf(target))
            CloseList(false);
    }
    return QLineEdit::eventFilter(watched, event);
}

void TDBComboBoxEx::buttonPressed(bool top)
{
    dragInList_ = false;
    keepListOnRelease_ = false;
    bool handled = false;
    if (auto handler = OnButtonDown)
        handler(*this, top, handled);
    if (handled)
        return;
    if (editButton_.Style == ebsDropDownEx) {
        if (listShown())
            return; // the release closes it
        setFocus(Qt::OtherFocusReason);
        OpenList();
        keepListOnRelease_ = true;
    } else {
        buttonAction(top);
    }
}

// What the button does of its own, but for the drop-down button's mouse
// handling, which spans the press, the drag and the release.
void TDBComboBoxEx::buttonAction(bool top)
{
    switch (editButton_.Style) {
    case ebsDropDownEx: toggleList(); break;
    case ebsUpDownEx: SelectNextItem(top); break;
    default: break; // the owner's handlers give the others their meaning
    }
}

void TDBComboBoxEx::pressByShortCut()
{
    bool handled = false;
    if (auto handler = OnButtonDown)
        handler(*this, false, handled);
    if (!handled)
        buttonAction(false);
    if (auto handler = OnButtonClick)
        handler(*this);
}

void TDBComboBoxEx::buttonDragged(QPoint global)
{
    if (!listShown())
        return;
    if (list_->geometry().contains(global))
        dragInList_ = true; // the list takes the drag over from here
    if (dragInList_)
        list_->selectRowAt(global);
}

void TDBComboBoxEx::buttonReleased(QPoint global, bool overButton)
{
    if (dragInList_)
        CloseList(list_->clientContains(global));
    else if (overButton && !keepListOnRelease_)
        CloseList(false);
    dragInList_ = false;
    keepListOnRelease_ = false;
    if (overButton)
        if (auto handler = OnButtonClick)
            handler(*this);
}
