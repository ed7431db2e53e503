#include "keyboardlayout.h"

#include <QKeyEvent>

namespace platform {

namespace {

// The keys of a US keyboard and what the same keys type on a Russian one,
// unshifted and shifted. The digit row is left alone.
constexpr char16_t usKeys[] = u"`qwertyuiop[]asdfghjkl;'zxcvbnm,./"
                              u"~QWERTYUIOP{}ASDFGHJKL:\"ZXCVBNM<>?";
constexpr char16_t russianKeys[] = u"ёйцукенгшщзхъфывапролджэячсмитьбю."
                                   u"ЁЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЭЯЧСМИТЬБЮ,";
static_assert(sizeof usKeys == sizeof russianKeys);

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

bool KeyboardLayout::isSwitchCombination(const QKeyEvent &event)
{
    if (event.isAutoRepeat())
        return false;
    const Qt::KeyboardModifiers mods = event.modifiers();
    switch (event.key()) {
    case Qt::Key_Shift:
        return mods & (Qt::AltModifier | Qt::ControlModifier);
    case Qt::Key_Alt:
    case Qt::Key_Control:
        return mods & Qt::ShiftModifier;
    default:
        return false;
    }
}

QString KeyboardLayout::translated(const QKeyEvent &event) const
{
    if (!russian_ || event.text().size() != 1 ||
        (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier | Qt::KeypadModifier)))
        return {};
    const char16_t typed = event.text().front().unicode();
    for (size_t i = 0; usKeys[i]; ++i)
        if (usKeys[i] == typed)
            return QString(QChar(russianKeys[i]));
    return {};
}

} // namespace platform
