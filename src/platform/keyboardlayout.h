#pragma once

#include <QString>
#include <functional>

class QKeyEvent;

namespace platform {

// How the platform numbers the physical keys in a key event's native scan
// code: X servers and Wayland by their own key codes, Windows by scan code.
enum class NativeKeyCodes { X11, Windows };

// The keyboard layout of the program. Where the desktop has a Russian layout
// of its own, loading Russian selects it, and the desktop's switch and
// indicator go on as usual. Elsewhere the Russian layout is laid over the
// keys the desktop delivers: what a key types is replaced by what the same
// key types on a Russian keyboard, and Alt+Shift or Ctrl+Shift, pressed
// alone and released, switches back to the desktop's layout and over again.
class KeyboardLayout {
public:
    static KeyboardLayout &instance();

    // Loads a layout by identifier: "00000419" Russian, "00000409" the
    // desktop's (US) layout. With the activate flag (1) it becomes the
    // program's layout at once. Returns false for an unknown layout.
    bool load(const QString &layoutId, unsigned flags);

    // Whether the program lays Russian over the desktop's keys.
    bool isRussian() const { return russian_; }

    // Test seam: selects the desktop's own Russian layout, false where it
    // has none. An empty function restores the desktop's.
    using DesktopRussianSelector = std::function<bool()>;
    void setDesktopRussianSelector(DesktopRussianSelector selector);

    // Chosen by the platform the program runs on.
    NativeKeyCodes nativeKeyCodes() const { return nativeKeyCodes_; }
    void setNativeKeyCodes(NativeKeyCodes codes) { nativeKeyCodes_ = codes; }

    // Sees every key press, shortcut override and release. Shift held with
    // Alt or Ctrl switches the layout once all of them are released, unless
    // another key was pressed meanwhile (Ctrl+Shift+Right selects a word).
    void followSwitchKeys(const QKeyEvent &event);
    // The text the key types in the current layout; empty when the desktop's
    // text stands (unshifted digits, control keys, Cyrillic already, Ctrl or
    // Alt held).
    QString translated(const QKeyEvent &event) const;

private:
    KeyboardLayout();

    NativeKeyCodes nativeKeyCodes_;
    DesktopRussianSelector selectDesktopRussian_;
    bool russian_ = false;
    bool desktopSwitches_ = false; // the desktop's Russian layout is in use
    bool switchPending_ = false;
};

inline constexpr unsigned KLF_ACTIVATE = 1;

// Classic Windows' call by its own name, for the windows' handlers.
inline bool loadKeyboardLayout(const QString &layoutId, unsigned flags)
{
    return KeyboardLayout::instance().load(layoutId, flags);
}

} // namespace platform
