#include "platform/colors.h"
#include "support/desktopscheme.h"

#include <QPainter>
#include <QWidget>
#include <gtest/gtest.h>

namespace colors = platform::colors;

namespace {

class PaintsWindowColour : public QWidget {
protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), colors::clWindow); }
};

} // namespace

// A change of the desktop's scheme reaches every system colour, and a
// window painted with one is drawn anew in the new colour.
TEST(SystemColors, FollowTheDesktopSchemeAndItsChanges)
{
    PaintsWindowColour widget;
    widget.resize(8, 8);
    widget.show();
    EXPECT_EQ(widget.grab().toImage().pixelColor(4, 4), QColor(255, 255, 255));
    DesktopScheme desktop(darkScheme());
    EXPECT_EQ(QColor(colors::clWindow), darkScheme().color(QPalette::Base));
    EXPECT_EQ(QColor(colors::clWindowFrame), darkScheme().color(QPalette::WindowText));
    EXPECT_EQ(widget.grab().toImage().pixelColor(4, 4), darkScheme().color(QPalette::Base));
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
    for (const QPalette &palette : {darkScheme(), highContrastScheme()}) {
        DesktopScheme desktop(palette);
        for (const auto &[text, background] : drawn)
            EXPECT_GE(colors::contrast(text, background), 4.5)
                << QColor(text).name().toStdString() << " on " << QColor(background).name().toStdString();
    }
}
