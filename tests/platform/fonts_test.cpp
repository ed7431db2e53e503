#include "platform/fonts.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

using namespace platform;

TEST(Fonts, DefaultFontHasTheCellMetricsLayoutsAssume)
{
    const QFont font = defaultFont();
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("DejaVu Sans Condensed"));
    EXPECT_EQ(font.pixelSize(), 11);
    const QFontMetrics metrics(font);
    EXPECT_EQ(metrics.height(), 13);
    EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char('0')), 6);
    // Whole-pixel advances: a text is as wide as the sum of its characters.
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("0000000000")), 60);
}

TEST(Fonts, BoldAndOtherSizesResolveToTheSameFace)
{
    const QFontMetrics bold(boldFont());
    EXPECT_TRUE(boldFont().bold());
    EXPECT_EQ(QFontInfo(boldFont()).family(), QStringLiteral("DejaVu Sans Condensed"));
    EXPECT_EQ(bold.height(), 13);
    EXPECT_EQ(bold.horizontalAdvance(QLatin1Char('0')), 7);

    const QFont ten = makeFont({.points = 10});
    EXPECT_EQ(ten.pixelSize(), 13);
    EXPECT_EQ(QFontMetrics(ten).height(), 15);
    EXPECT_EQ(makeFont({.points = 12}).pixelSize(), 16);
}

TEST(Fonts, PointsConvertAtNinetySixDotsPerInchRounded)
{
    EXPECT_EQ(pointsToPixels(8), 11); // 10.67
    EXPECT_EQ(pointsToPixels(9), 12);
    EXPECT_EQ(pointsToPixels(14), 19); // 18.67
    EXPECT_EQ(pointsToPixels(24), 32);
}

TEST(Fonts, ScreenIsNinetySixDotsPerInchUnscaled)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->logicalDotsPerInch(), 96);
    EXPECT_EQ(screen->devicePixelRatio(), 1);
    // Point sizes of Qt's own widgets then match the declared pixel sizes.
    EXPECT_EQ(QFontMetrics(QFont(QStringLiteral("DejaVu Sans Condensed"), 8)).height(), 13);
}

TEST(Fonts, OtherFacesAndStylesAreKept)
{
    const QFont font =
        makeFont({.face = QStringLiteral("DejaVu Serif"), .points = 10, .italic = true, .underline = true});
    EXPECT_EQ(font.family(), QStringLiteral("DejaVu Serif"));
    EXPECT_TRUE(font.italic());
    EXPECT_TRUE(font.underline());
}
