#include "platform/application.h"

#include "platform/colors.h"
#include "platform/fonts.h"
#include "platform/keyrouter.h"
#include "platform/lineeditaccessible.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>
#include <QToolTip>

namespace platform {

namespace {

QString &title()
{
    static QString text;
    return text;
}

} // namespace

void setApplicationTitle(const QString &text)
{
    title() = text;
}

QString applicationTitle()
{
    return title();
}

void setUpApplication(QApplication &app)
{
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // A desktop's scheme stays the application's palette, and Qt repaints
    // every window when the scheme changes.
    const bool desktop = !QGuiApplication::platformName().startsWith(QLatin1String("offscreen")) &&
                         QGuiApplication::platformName() != QLatin1String("minimal");
    colors::setFollowsPalette(desktop);
    if (!desktop) {
        app.setPalette(colors::classicPalette());
        QToolTip::setPalette(colors::classicPalette());
    }
    app.setFont(defaultFont());
    QToolTip::setFont(defaultFont());
    KeyRouter::install();
    useLineEditAccessible();
}

} // namespace platform
