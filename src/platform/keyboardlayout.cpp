#include "platform/keyboardlayout.h"

#include "platform/desktoplayout.h"

#include <QGuiApplication>
#include <QKeyEvent>

#include <algorithm>
#include <iterator>

namespace platform {

namespace {

// The keys of a US keyboard and what the same keys type on a Russian one,
// unshifted and then shifted: the letters, the shifted digit row, and the
// backslash key. Minus and equals type the same on both.
constexpr char16_t usKeys[] = u"`qwertyuiop[]asdfghjkl;'zxcvbnm,./1234567890\\"
                              u"~QWERTYUIOP{}ASDFGHJKL:\"ZXCVBNM<>?!@#$%^&*()|";
constexpr char16_t russianKeys[] = u"ёйцукенгшщзхъфывапролджэячсмитьбю.1234567890\\"
                                   u"ЁЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЭЯЧСМИТЬБЮ,!\"№;%:?*()/";
// The same keys by their PC scan codes, unshifted. Windows reports these;
// X servers and Wayland number each key by its scan code plus 8.
constexpr quint32 scanCodes[] = {0x29, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1a,
                                 0x1b, 0x1e, 0x1f, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28,
                                 0x2c, 0x2d, 0x2e, 0x2f, 0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x02, 0x03,
                                 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0a, 0x0b, 0x2b};
constexpr quint32 x11KeyCodeOffset = 8;
constexpr int keyCount = std::size(scanCodes);
static_assert(std::size(usKeys) == 2 * keyCount + 1 && std::size(russianKeys) == std::size(usKeys));

// Where the key stands in the tables, or -1 for a key they leave alone.
// The native code names the physical key whatever Latin layout the desktop
// uses; events without one (synthesised keys) are placed by their text.
int keyIndex(const QKeyEvent &event, QChar typed, NativeKeyCodes codes)
{
    if (event.nativeScanCode() != 0) {
        const quint32 offset = codes == NativeKeyCodes::X11 ? x11KeyCodeOffset : 0;
        const auto *code = std::find_if(std::begin(scanCodes), std::end(scanCodes),
                                        [&](quint32 scan) { return scan + offset == event.nativeScanCode(); });
        if (code == std::end(scanCodes))
            return -1;
        const bool shifted = typed.isLetter() ? typed.isUpper() : event.modifiers().testFlag(Qt::ShiftModifier);
        return int(code - std::begin(scanCodes)) + (shifted ? keyCount : 0);
    }
    const auto *key = std::find(std::begin(usKeys), std::end(usKeys) - 1, typed.unicode());
    return key == std::end(usKeys) - 1 ? -1 : int(key - std::begin(usKeys));
}

constexpr Qt::KeyboardModifiers switchModifiers = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;

// The modifier a key of the switch chord stands for, or none for other keys.
Qt::KeyboardModifier switchModifierOf(int key)
{
    switch (key) {
    case Qt::Key_Shift: return Qt::ShiftModifier;
    case Qt::Key_Control: return Qt::ControlModifier;
    case Qt::Key_Alt: return Qt::AltModifier;
    default: return Qt::NoModifier;
    }
}

bool isSwitchChord(Qt::KeyboardModifiers held)
{
    return held.testFlag(Qt::ShiftModifier) && (held & (Qt::ControlModifier | Qt::AltModifier));
}

} // namespace

KeyboardLayout &KeyboardLayout::instance()
{
    static KeyboardLayout layout;
    return layout;
}

KeyboardLayout::KeyboardLayout()
    : nativeKeyCodes_(QGuiApplication::platformName() == QLatin1String("windows") ? NativeKeyCodes::Windows
                                                                                  : NativeKeyCodes::X11),
      selectDesktopRussian_(selectDesktopRussianLayout)
{}

void KeyboardLayout::setDesktopRussianSelector(DesktopRussianSelector selector)
{
    selectDesktopRussian_ = selector ? std::move(selector) : DesktopRussianSelector(selectDesktopRussianLayout);
}

bool KeyboardLayout::load(const QString &layoutId, unsigned flags)
{
    const bool russian = layoutId == QLatin1String("00000419");
    if (!russian && layoutId != QLatin1String("00000409"))
        return false;
    if (flags & KLF_ACTIVATE) {
        desktopSwitches_ = russian && selectDesktopRussian_();
        russian_ = russian && !desktopSwitches_;
    }
    return true;
}

void KeyboardLayout::followSwitchKeys(const QKeyEvent &event)
{
    // The desktop's own switch sees the same keys and does the switching.
    if (desktopSwitches_ || event.isAutoRepeat())
        return;
    const Qt::KeyboardModifier own = switchModifierOf(event.key());
    // The desktop reports a modifier key's own state differently at its press
    // and at its release, so each key counts itself in or out. Each press
    // decides afresh: a chord whose releases went to another program is
    // forgotten at the next key.
    if (event.type() != QEvent::KeyRelease) {
        switchPending_ = own != Qt::NoModifier && isSwitchChord(event.modifiers() | own);
        return;
    }
    if (!switchPending_ || own == Qt::NoModifier || (event.modifiers() & ~own & switchModifiers))
        return;
    switchPending_ = false;
    russian_ = !russian_;
}

QString KeyboardLayout::translated(const QKeyEvent &event) const
{
    if (!russian_ || event.text().size() != 1 ||
        (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier | Qt::KeypadModifier)))
        return {};
    const QChar typed = event.text().front();
    // The desktop types Cyrillic (or another script's letters) itself.
    if (typed.isLetter() && typed.script() != QChar::Script_Latin)
        return {};
    const int index = keyIndex(event, typed, nativeKeyCodes_);
    return index < 0 ? QString() : QString(QChar(russianKeys[index]));
}

} // namespace platform
