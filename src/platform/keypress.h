#pragma once

#include <QChar>
#include <QObject>
#include <functional>

class QKeyEvent;
class QWidget;

namespace platform {

// The character a key press types, as classic Windows reports it to
// key-press handlers: Enter and keypad Enter without Ctrl or Alt are character 13;
// a key that types nothing gives the null character.
QChar keyPressCharacter(const QKeyEvent &event);

// A control's key-press handler (`Edit1KeyPress` and the like). It sees the
// typed character and may change it, or set it to 0 to swallow the key.
using KeyPressHandler = std::function<void(QChar &key)>;

// Calls `handler` for each character typed into `control`. The hook is a
// child of the control and lives as long as it.
void setKeyPressHandler(QWidget *control, KeyPressHandler handler);

class KeyPressHook : public QObject {
    Q_OBJECT
public:
    KeyPressHook(QWidget *control, KeyPressHandler handler);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    KeyPressHandler handler_;
    const QKeyEvent *retyped_ = nullptr; // the changed key being delivered
};

} // namespace platform
