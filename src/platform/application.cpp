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

QPalette classicPalette()
{
    using namespace colors;
    QPalette palette;
    palette.setColor(QPalette::Window, clBtnFace);
    palette.setColor(QPalette::WindowText, clWindowText);
    palette.setColor(QPalette::Base, clWindow);
    palette.setColor(QPalette::AlternateBase, clBtnFace);
    palette.setColor(QPalette::Text, clWindowText);
    palette.setColor(QPalette::Button, clBtnFace);
    palette.setColor(QPalette::ButtonText, clBtnText);
    palette.setColor(QPalette::Light, clBtnHighlight);
    palette.setColor(QPalette::Midlight, cl3DLight);
    palette.setColor(QPalette::Mid, clBtnShadow);
    palette.setColor(QPalette::Dark, clBtnShadow);
    palette.setColor(QPalette::Shadow, cl3DDkShadow);
    palette.setColor(QPalette::Highlight, clHighlight);
    palette.setColor(QPalette::HighlightedText, clHighlightText);
    palette.setColor(QPalette::ToolTipBase, clInfoBk);
    palette.setColor(QPalette::ToolTipText, clInfoText);
    palette.setColor(QPalette::PlaceholderText, clGrayText);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, clGrayText);
    return palette;
}

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
    app.setPalette(classicPalette());
    app.setFont(defaultFont());
    QToolTip::setPalette(classicPalette());
    QToolTip::setFont(defaultFont());
    KeyRouter::install();
    useLineEditAccessible();
}

} // namespace platform
