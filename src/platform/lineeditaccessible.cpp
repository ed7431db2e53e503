#include "platform/lineeditaccessible.h"

#include "platform/accessibility.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLineEdit>
#include <QTextBoundaryFinder>
#include <algorithm>

namespace platform {

namespace {

bool wholeLine(QAccessible::TextBoundaryType boundary)
{
    return boundary != QAccessible::CharBoundary && boundary != QAccessible::WordBoundary;
}

class LineEditAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
public:
    explicit LineEditAccessible(QLineEdit *edit) : QAccessibleWidget(edit, QAccessible::EditableText) {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (type == QAccessible::EditableTextInterface && !edit()->isReadOnly())
            return static_cast<QAccessibleEditableTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return shownText();
        return QAccessibleWidget::text(t);
    }
    void setText(QAccessible::Text t, const QString &text) override
    {
        if (t != QAccessible::Value || edit()->isReadOnly())
            return QAccessibleWidget::setText(t, text);
        edit()->setText(text);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = !edit()->isReadOnly();
        s.readOnly = edit()->isReadOnly();
        s.passwordEdit = edit()->echoMode() != QLineEdit::Normal;
        s.selectableText = true;
        return s;
    }

    // --- text
    void selection(int, int *start, int *end) const override
    {
        *start = *end = 0;
        if (edit()->hasSelectedText()) {
            *start = edit()->selectionStart();
            *end = *start + int(edit()->selectedText().size());
        }
    }
    int selectionCount() const override { return edit()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { edit()->deselect(); }
    void setSelection(int, int start, int end) override { edit()->setSelection(start, end - start); }
    int cursorPosition() const override { return edit()->cursorPosition(); }
    void setCursorPosition(int position) override { edit()->setCursorPosition(position); }
    QString text(int start, int end) const override { return shownText().mid(start, end - start); }
    int characterCount() const override { return int(shownText().size()); }
    QRect characterRect(int offset) const override
    {
        const QString text = shownText();
        offset = std::clamp(offset, 0, int(text.size()));
        const QRect cursor = edit()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const QFontMetrics metrics(edit()->font());
        const int cursorAt = edit()->cursorPosition();
        const int x =
            cursor.left() + (offset >= cursorAt ? metrics.horizontalAdvance(text.mid(cursorAt, offset - cursorAt))
                                                : -metrics.horizontalAdvance(text.mid(offset, cursorAt - offset)));
        const int width = offset < text.size() ? metrics.horizontalAdvance(text.at(offset)) : 1;
        const QRect local(x, cursor.top(), width, cursor.height());
        return QRect(edit()->mapToGlobal(local.topLeft()), local.size());
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        for (int offset = 0; offset < characterCount(); ++offset)
            if (characterRect(offset).contains(point))
                return offset;
        return -1;
    }
    void scrollToSubstring(int start, int) override { edit()->setCursorPosition(start); }
    QString attributes(int offset, int *start, int *end) const override
    {
        *start = *end = offset;
        return {};
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int *start, int *end) const override
    {
        return unitText(textUnitBefore(shownText(), offset, boundary), start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int *start, int *end) const override
    {
        return unitText(textUnitAfter(shownText(), offset, boundary), start, end);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int *start, int *end) const override
    {
        return unitText(textUnitAt(shownText(), offset, boundary), start, end);
    }

    // --- editing
    void deleteText(int start, int end) override { replaceText(start, end, {}); }
    void insertText(int offset, const QString &text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString &text) override
    {
        edit()->setSelection(start, end - start);
        edit()->insert(text);
    }

private:
    QLineEdit *edit() const { return static_cast<QLineEdit *>(widget()); }
    // A password reads as the characters shown in its place.
    QString shownText() const
    {
        return edit()->echoMode() == QLineEdit::Normal ? edit()->text() : edit()->displayText();
    }
    QString unitText(TextUnit unit, int *start, int *end) const
    {
        *start = unit.start;
        *end = unit.end;
        return shownText().mid(unit.start, unit.end - unit.start);
    }
};

} // namespace

QAccessibleInterface *createLineEditAccessible(QLineEdit *edit)
{
    return new LineEditAccessible(edit);
}

void useLineEditAccessible()
{
    registerAccessible<QLineEdit>([](QLineEdit *edit) -> QAccessibleInterface * {
        return edit->metaObject() == &QLineEdit::staticMetaObject ? createLineEditAccessible(edit) : nullptr;
    });
}

// Units come from one boundary finder and one step each way, so no offset
// can make the search loop.
TextUnit textUnitAt(const QString &text, int offset, QAccessible::TextBoundaryType boundary)
{
    const int length = int(text.size());
    if (wholeLine(boundary))
        return {0, length};
    offset = std::clamp(offset, 0, length);
    if (offset == length)
        return {length, length};
    QTextBoundaryFinder finder(
        boundary == QAccessible::CharBoundary ? QTextBoundaryFinder::Grapheme : QTextBoundaryFinder::Word, text);
    finder.setPosition(offset);
    const int start = finder.isAtBoundary() ? offset : int(finder.toPreviousBoundary());
    finder.setPosition(std::max(start, 0));
    const int end = int(finder.toNextBoundary());
    return {std::max(start, 0), end < 0 ? length : end};
}

TextUnit textUnitBefore(const QString &text, int offset, QAccessible::TextBoundaryType boundary)
{
    const TextUnit at = textUnitAt(text, offset, boundary);
    if (wholeLine(boundary) || at.start == 0)
        return {0, 0};
    return textUnitAt(text, at.start - 1, boundary);
}

TextUnit textUnitAfter(const QString &text, int offset, QAccessible::TextBoundaryType boundary)
{
    const int length = int(text.size());
    const TextUnit at = textUnitAt(text, offset, boundary);
    if (wholeLine(boundary) || at.end >= length)
        return {length, length};
    return textUnitAt(text, at.end, boundary);
}

} // namespace platform
