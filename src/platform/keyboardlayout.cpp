#include "platform/keyboardlayout.h"

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
// The same keys by their X and Wayland key codes, unshifted.
constexpr quint32 keyCodes[] = {49, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 38, 39,
                                40, 41, 42, 43, 44, 45, 46, 47, 48, 52, 53, 54, 55, 56, 57,
                                58, 59, 60, 61, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 51};
constexpr int keyCount = std::size(keyCodes);
static_assert(std::size(usKeys) == 2 * keyCount + 1 && std::size(russianKeys) == std::size(usKeys));

// Where the key stands in the tables, or -1 for a key they leave alone.
// The key code names the physical key whatever Latin layout the desktop
// uses; events without one (synthesised keys) are placed by their text.
int keyIndex(const QKeyEvent &event, QChar typed)
{
    if (event.nativeScanCode() != 0) {
        const auto *code = std::find(std::begin(keyCodes), std::end(keyCodes), event.nativeScanCode());
        if (code == std::end(keyCodes))
            return -1;
        const bool shifted = typed.isLetter() ? typed.isUpper() : event.modifiers().testFlag(Qt::ShiftModifier);
        return int(code - std::begin(keyCodes)) + (shifted ? keyCount : 0);
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

bool KeyboardLayout::load(const QString &layoutId, unsigned flags)
{
    const bool russian = layoutId == QLatin1String("00000419");
    if (!russian && layoutId != QLatin1String("00000409"))
        return false;
    if (flags & KLF_ACTIVATE)
        russian_ = russian;
    return true;
}

void KeyboardLayout::followSwitchKeys(const QKeyEvent &event)
{
    if (event.isAutoRepeat())
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
    const int index = keyIndex(event, typed);
    return index < 0 ? QString() : QString(QChar(russianKeys[index]));
}

} // namespace platform
