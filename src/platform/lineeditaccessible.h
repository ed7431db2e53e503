#pragma once

#include <QAccessible>
#include <QString>

class QAccessibleInterface;
class QLineEdit;

namespace platform {

// The program's own accessible interface for single-line edits. Qt's own
// one can loop for ever when a screen reader asks for the word or line at
// the end of the text (Ctrl+Left after typing); this one finds every unit
// in bounded steps. `useLineEditAccessible` gives it to every plain
// QLineEdit (calling it again is harmless); an edit class of the program's
// registers `createLineEditAccessible` for itself, a control with an
// interface of its own keeps that.
void useLineEditAccessible();
QAccessibleInterface *createLineEditAccessible(QLineEdit *edit);

// The unit of `text` of the given kind that contains `offset` (the empty
// range at the end when there is none), and the units just before and
// after it. A single line is one line, sentence and paragraph.
struct TextUnit {
    int start = 0;
    int end = 0;
    bool operator==(const TextUnit &) const = default;
};
TextUnit textUnitAt(const QString &text, int offset, QAccessible::TextBoundaryType boundary);
TextUnit textUnitBefore(const QString &text, int offset, QAccessible::TextBoundaryType boundary);
TextUnit textUnitAfter(const QString &text, int offset, QAccessible::TextBoundaryType boundary);

} // namespace platform
