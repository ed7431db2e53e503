#include "platform/colors.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>
#include <gtest/gtest.h>

namespace colors = platform::colors;

namespace {

// Relative luminance and contrast ratio of two colours, as accessibility
// guidelines define them.
double luminance(const QColor &color)
{
    auto channel = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF()) + 0.0722 * channel(color.blueF());
}
double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

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

class PaintsWindowColour : public QWidget {
protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), colors::clWindow); }
};

// Follows the application's palette while the test lives.
struct DesktopScheme {
    explicit DesktopScheme(const QPalette &palette) : saved(QApplication::palette())
    {
        colors::setFollowsPalette(true);
        QApplication::setPalette(palette);
    }
    ~DesktopScheme()
    {
        colors::setFollowsPalette(false);
        QApplication::setPalette(saved);
    }
    QPalette saved;
};

const QPalette dark = scheme({49, 54, 59}, {35, 38, 41}, {239, 240, 241}, {30, 87, 135}, {255, 255, 255}, {49, 54, 59});
const QPalette highContrast = scheme(Qt::black, Qt::black, Qt::white, Qt::cyan, Qt::black, Qt::black);

} // namespace

// A change of the desktop's scheme reaches every system colour, and a
// window painted with one is drawn anew in the new colour.
TEST(SystemColors, FollowTheDesktopSchemeAndItsChanges)
{
    PaintsWindowColour widget;
    widget.resize(8, 8);
    widget.show();
    EXPECT_EQ(widget.grab().toImage().pixelColor(4, 4), QColor(255, 255, 255));
    DesktopScheme desktop(dark);
    EXPECT_EQ(QColor(colors::clWindow), dark.color(QPalette::Base));
    EXPECT_EQ(QColor(colors::clWindowFrame), dark.color(QPalette::WindowText));
    EXPECT_EQ(widget.grab().toImage().pixelColor(4, 4), dark.color(QPalette::Base));
    EXPECT_EQ(colors::clRed, QColor(255, 0, 0));
}

// Every pair of system colours the windows draw text in and on keeps a
// contrast of 4.5:1 under a dark and a high-contrast scheme.
TEST(SystemColors, TextKeepsItsContrastUnderDarkAndHighContrastSchemes)
{
    using P = std::pair<colors::SystemColor, colors::SystemColor>;
    const P drawn[] = {
        {colors::clWindowText, colors::clWindow}, {colors::clWindowText, colors::clBtnFace},
        {colors::clBtnText, colors::clBtnFace},   {colors::clHighlightText, colors::clHighlight},
        {colors::clInfoText, colors::clInfoBk},   {colors::clMenuText, colors::clMenu},
        {colors::clWindowText, colors::clMenu},   {colors::clHighlightText, colors::clActiveCaption},
    };
    for (const QPalette &palette : {dark, highContrast}) {
        DesktopScheme desktop(palette);
        for (const auto &[text, background] : drawn)
            EXPECT_GE(contrast(text, background), 4.5)
                << QColor(text).name().toStdString() << " on " << QColor(background).name().toStdString();
    }
}
