#include "support/desktopscheme.h"

#include "platform/colors.h"

#include <QApplication>

namespace {

QPalette scheme(QColor window, QColor base, QColor text, QColor highlight, QColor highlighted, QColor tip)
{
    QPalette palette(text, window, window.lighter(130), window.darker(130), window.darker(110), text, text, base,
                     window);
    palette.setColor(QPalette::Highlight, highlight);
    palette.setColor(QPalette::HighlightedText, highlighted);
    palette.setColor(QPalette::ToolTipBase, tip);
    palette.setColor(QPalette::ToolTipText, text);
    return palette;
}

} // namespace

QPalette darkScheme()
{
    return scheme({49, 54, 59}, {35, 38, 41}, {239, 240, 241}, {30, 87, 135}, {255, 255, 255}, {49, 54, 59});
}

QPalette highContrastScheme()
{
    return scheme(Qt::black, Qt::black, Qt::white, Qt::cyan, Qt::black, Qt::black);
}

DesktopScheme::DesktopScheme(const QPalette &palette) : saved_(QApplication::palette())
{
    platform::colors::setFollowsPalette(true);
    QApplication::setPalette(palette);
}

DesktopScheme::~DesktopScheme()
{
    platform::colors::setFollowsPalette(false);
    QApplication::setPalette(saved_);
}
