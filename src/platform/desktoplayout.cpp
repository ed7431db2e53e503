#include "platform/desktoplayout.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QList>

#ifdef SPRAV_HAVE_X11
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

namespace platform {

#ifdef SPRAV_HAVE_X11

namespace {

// The position of the Russian layout among the desktop's layouts, read from
// the names the layouts were set up with ("us,ru"), or -1.
int russianGroup(Display *display)
{
    const Atom names = XInternAtom(display, "_XKB_RULES_NAMES", True);
    if (names == None)
        return -1;
    Atom type = None;
    int format = 0;
    unsigned long length = 0, remaining = 0;
    unsigned char *data = nullptr;
    if (XGetWindowProperty(display, DefaultRootWindow(display), names, 0, 1024, False, XA_STRING, &type, &format,
                           &length, &remaining, &data) != Success ||
        !data)
        return -1;
    // Rules, model, layouts, variants and options, each ended by a zero.
    const QList<QByteArray> fields = QByteArray(reinterpret_cast<const char *>(data), qsizetype(length)).split('\0');
    XFree(data);
    if (fields.size() < 3)
        return -1;
    const QList<QByteArray> layouts = fields[2].split(',');
    for (int group = 0; group < layouts.size() && group < XkbNumKbdGroups; ++group)
        if (layouts[group].trimmed() == "ru")
            return group;
    return -1;
}

} // namespace

bool selectDesktopRussianLayout()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display *display = x11 ? x11->display() : nullptr;
    if (!display)
        return false;
    const int group = russianGroup(display);
    if (group < 0)
        return false;
    XkbLockGroup(display, XkbUseCoreKbd, unsigned(group));
    XFlush(display);
    return true;
}

#else

bool selectDesktopRussianLayout()
{
    return false;
}

#endif

} // namespace platform
