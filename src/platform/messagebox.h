#pragma once

#include <QFlags>
#include <QString>
#include <functional>

class QWidget;

namespace platform {

// Message box styles: a button set in the low four bits, an icon in the next
// four; the windows use the three combinations at the end.
enum MessageStyleFlag {
    mbOk = 0x00,
    mbOkCancel = 0x01,
    mbYesNo = 0x04,
    mbButtonsMask = 0x0F,
    mbIconError = 0x10,
    mbIconQuestion = 0x20,
    mbIconExclamation = 0x30,
    mbIconInformation = 0x40,
    mbIconMask = 0xF0,
    mbErrorOk = mbIconError | mbOk,
    mbQuestionYesNo = mbIconQuestion | mbYesNo,
    mbExclamationOk = mbIconExclamation | mbOk
};
Q_DECLARE_FLAGS(MessageStyle, MessageStyleFlag)
// Results as the windows compare them.
enum MessageResult { idOk = 1, idCancel = 2, idYes = 6, idNo = 7 };

// A modal platform box: Russian button captions, Yes the default, character 13
// breaks the line, plain text. Escape or the close box gives idOk on an OK box
// idNo on a Yes/No box and idCancel on an OK/Cancel box. Closing it does not re-activate the owner form.
int messageBox(const QString &text, const QString &caption, MessageStyle style);

// The plain message window of the archive component: no icon, one OK button,
// the application title as caption, centred on the screen. It is one of the
// program's own windows, so closing it re-activates the form under it.
void showPlainMessage(const QString &text);

// Test seam: while an answerer is installed no box is shown; each box is
// passed to it and its return value is the result.
struct ShownMessage {
    QString text;
    QString caption;
    MessageStyle style; // none for the plain message window
};
using MessageAnswerer = std::function<int(const ShownMessage &)>;
void setMessageAnswerer(MessageAnswerer answerer); // empty function restores real boxes

} // namespace platform

Q_DECLARE_OPERATORS_FOR_FLAGS(platform::MessageStyle)
