#include "controls/sidebar/groupswitchslide.h"
#include "controls/sidebar/sidebarpainter.h"
#include "controls/sidebar/sidebarviewinfo.h"
#include "sidebarfixture.h"

#include "platform/colors.h"

#include <QPaintEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace colors = platform::colors;
using platform::Rect;

namespace {

QColor pixel(const QImage &image, int x, int y)
{
    return QColor(image.pixel(x, y));
}

QImage paint(TSideBar &bar)
{
    return bar.grab().toImage();
}

const QColor light{183, 191, 212};

} // namespace

TEST(SideBarPainting, LightHighlightColorMixesFaceHighlightAndWindow)
{
    EXPECT_EQ(LightHighlightColor(QColor(212, 208, 200), QColor(10, 36, 106), QColor(255, 255, 255)), light);
    EXPECT_EQ(LightHighlightColor(), light);
    // A black or white face gives the highlight itself.
    EXPECT_EQ(LightHighlightColor(Qt::black, QColor(10, 36, 106), Qt::white), QColor(10, 36, 106));
    EXPECT_EQ(LightHighlightColor(Qt::white, QColor(1, 2, 3), Qt::white), QColor(1, 2, 3));
    // Channels are clamped.
    EXPECT_EQ(LightHighlightColor(QColor(1, 1, 1), QColor(255, 255, 255), QColor(255, 255, 255)).red(), 255);
}

TEST(SideBarPainting, FocusedItemShowsTheLightSquareAndFrame)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    bar.SetFocusedItem(&menu.item(0), false);
    QImage image = paint(bar);
    // Frame (27, 31, 69, 73), picture (32, 36, 64, 68) with transparent corners.
    EXPECT_EQ(pixel(image, 27, 31), colors::clActiveCaption);
    EXPECT_EQ(pixel(image, 68, 72), colors::clActiveCaption);
    EXPECT_EQ(pixel(image, 28, 50), light);
    EXPECT_EQ(pixel(image, 32, 36), light) << "under the picture's transparent corner";
    EXPECT_EQ(pixel(image, 48, 52), QColor(Qt::red)) << "picture 6";
    EXPECT_EQ(pixel(image, 26, 50), colors::clInfoBk);

    const Rect second = bar.viewInfo().ItemInfo(&menu.item(1))->PictureFrame();
    EXPECT_EQ(pixel(image, second.left, second.top + 10), colors::clInfoBk);

    // The pointer in the gap between items takes the highlight away.
    moveFree(bar, {48, second.top - 3});
    EXPECT_EQ(bar.focusedItem(), nullptr);
    image = paint(bar);
    EXPECT_EQ(pixel(image, 27, 31), colors::clInfoBk);
    EXPECT_EQ(pixel(image, 28, 50), colors::clInfoBk);
}

TEST(SideBarPainting, ItemWithoutPictureShowsNoHighlight)
{
    MenuBar menu;
    menu.item(0).setLargeImage(42);
    menu.bar.SetFocusedItem(&menu.item(0), false);
    const QImage image = paint(menu.bar);
    EXPECT_EQ(pixel(image, 27, 31), colors::clInfoBk);
    EXPECT_EQ(pixel(image, 48, 52), colors::clInfoBk);
}

TEST(SideBarPainting, BorderAndHeaderFollowTheTrackingState)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    QImage image = paint(bar);
    EXPECT_EQ(pixel(image, 0, 0), colors::clBtnShadow);
    EXPECT_EQ(pixel(image, 0, 300), colors::clBtnShadow);
    EXPECT_EQ(pixel(image, 96, 300), colors::clBtnHighlight);
    EXPECT_EQ(pixel(image, 40, 481), colors::clBtnHighlight);
    // Header (1, 1, 96, 22).
    EXPECT_EQ(pixel(image, 1, 1), colors::clBtnHighlight);
    EXPECT_EQ(pixel(image, 95, 21), colors::clBtnShadow);
    EXPECT_EQ(pixel(image, 3, 3), colors::clBtnFace);
    EXPECT_EQ(pixel(image, 94, 20), colors::clBtnFace);

    bar.SetTrackedGroup(bar.groups()[0], false);
    image = paint(bar);
    EXPECT_EQ(pixel(image, 95, 21), colors::cl3DDkShadow);
    EXPECT_EQ(pixel(image, 94, 20), colors::clBtnShadow);

    bar.SetTrackedGroup(bar.groups()[0], true);
    image = paint(bar);
    EXPECT_EQ(pixel(image, 1, 1), colors::cl3DDkShadow);
    EXPECT_EQ(pixel(image, 2, 2), colors::clBtnShadow);
    EXPECT_EQ(pixel(image, 95, 21), colors::clBtnHighlight);

    // The caption is drawn in the group font's colour.
    bool hasText = false;
    for (int x = 2; x < 95; ++x)
        for (int y = 2; y < 21; ++y)
            hasText = hasText || pixel(image, x, y) == colors::clBlack;
    EXPECT_TRUE(hasText);
}

TEST(SideBarPainting, DisabledCaptionIsEmbossedAndItsPictureStays)
{
    MenuBar menu;
    menu.item(0).setEnabled(false);
    const QImage image = paint(menu.bar);
    const Rect text = menu.bar.viewInfo().ItemInfo(&menu.item(0))->TextBounds;
    // Grey glyphs over white ones; nothing as dark as the enabled black text.
    int grey = 0, dark = 0, white = 0;
    for (int x = text.left; x < text.right; ++x)
        for (int y = text.top; y < text.bottom; ++y) {
            const int value = pixel(image, x, y).red();
            grey += value <= 160 ? 1 : 0;
            dark += value < 100 ? 1 : 0;
            white += pixel(image, x, y) == colors::clBtnHighlight ? 1 : 0;
        }
    EXPECT_GT(grey, 20);
    EXPECT_EQ(dark, 0);
    EXPECT_GT(white, 0);
    EXPECT_EQ(pixel(image, 48, 52), QColor(Qt::red));
}

TEST(SideBarPainting, DropMarkArrowheadsPointOnlyTowardsNeighbours)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    TSideBarViewInfo &layout = bar.viewInfo();
    auto markAt = [&](TSideBarItem &item, TDropPlace place) {
        bar.SetDropMark(&item, place);
        Rect r = layout.markBounds(*layout.ItemInfo(&item), place);
        r.left += 7;
        r.right -= 7;
        return r;
    };
    auto black = [](const QImage &image, int x, int y) { return pixel(image, x, y) == colors::clBlack; };

    // Above the first item: heads only below the line.
    Rect r = markAt(menu.item(0), dpBefore);
    QImage image = paint(bar);
    int m = r.top + 4;
    EXPECT_TRUE(black(image, 48, m));
    EXPECT_TRUE(black(image, r.left + 9, m));
    EXPECT_FALSE(black(image, r.right - 9, m)) << "the line's end point is not drawn";
    EXPECT_TRUE(black(image, r.left, m + 2));
    EXPECT_TRUE(black(image, r.right, m + 2));
    EXPECT_FALSE(black(image, r.left, m - 2));
    EXPECT_FALSE(black(image, r.right, m - 2));

    // Below the last item: heads only above.
    r = markAt(menu.item(4), dpAfter);
    image = paint(bar);
    m = r.top + 4;
    EXPECT_TRUE(black(image, r.left, m - 2));
    EXPECT_FALSE(black(image, r.left, m + 2));

    // Between two items: both halves, reaching the mark's top and bottom.
    r = markAt(menu.item(2), dpBefore);
    image = paint(bar);
    m = r.top + 4;
    EXPECT_TRUE(black(image, r.left, r.top));
    EXPECT_TRUE(black(image, r.left, r.bottom - 1));
    EXPECT_TRUE(black(image, r.left + 3, m));
    EXPECT_FALSE(black(image, r.left + 3, r.top));

    bar.SetDropMark(nullptr, dpNone);
    image = paint(bar);
    EXPECT_FALSE(black(image, 48, m));
}

TEST(SideBarPainting, ScrollButtonsAreDrawnWithTheirArrows)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    bar.resize(97, 300);
    bar.groups()[0]->setTopItemIndex(1);
    const Rect up = bar.viewInfo().UpButtonBounds();
    const QImage image = paint(bar);
    EXPECT_EQ(pixel(image, up.left + 1, up.top + 1), colors::clBtnHighlight);
    EXPECT_EQ(pixel(image, up.left + 4, up.top + 4), colors::clBtnFace);
    EXPECT_EQ(pixel(image, up.left + 7, up.top + 6), colors::clBlack) << "tip of the arrow";
}

TEST(SideBarPainting, GradientBackgroundRunsFromBeginToEndColour)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    bar.bkGround().setBeginColor(Qt::black);
    bar.bkGround().setEndColor(Qt::white);
    bar.bkGround().setFillStyle(bfsHorz);
    const QImage image = paint(bar);
    const QColor top = pixel(image, 10, 30), bottom = pixel(image, 10, 470);
    EXPECT_LT(top.red(), 30);
    EXPECT_GT(bottom.red(), 225);
    EXPECT_EQ(top, pixel(image, 90, 30)) << "horizontal bands";
}

TEST(SideBarPainting, BackgroundPictureIsTiledFromTheClientOrigin)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    QImage checker(2, 2, QImage::Format_RGB32);
    checker.setPixel(0, 0, qRgb(255, 0, 0));
    checker.setPixel(1, 1, qRgb(255, 0, 0));
    checker.setPixel(1, 0, qRgb(0, 0, 255));
    checker.setPixel(0, 1, qRgb(0, 0, 255));
    bar.setBkPicture(QPixmap::fromImage(checker));
    const QImage image = paint(bar);
    // Also under captions and beside pictures: every cell agrees with (0, 0).
    const Rect text = bar.viewInfo().ItemInfo(&menu.item(0))->TextBounds;
    for (QPoint p : {QPoint(10, 30), QPoint(27, 40), QPoint(text.left, text.top), QPoint(50, 470)}) {
        const QColor expected = (p.x() + p.y()) % 2 == 0 ? QColor(255, 0, 0) : QColor(0, 0, 255);
        EXPECT_EQ(pixel(image, p.x(), p.y()), expected) << p.x() << "," << p.y();
    }
}

TEST(SideBarPainting, ImageListMasksAndBackgroundColour)
{
    ImageList list(4, 4);
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    QImage mask(4, 4, QImage::Format_RGB32);
    mask.fill(Qt::black);
    mask.setPixel(0, 0, qRgb(255, 255, 255));
    EXPECT_EQ(list.AddMasked(image, mask), 0);
    // A picture of another size is fitted to the list's.
    EXPECT_EQ(list.Add(QImage(8, 8, QImage::Format_ARGB32)), 1);

    auto drawn = [&list] {
        QImage canvas(6, 6, QImage::Format_RGB32);
        canvas.fill(Qt::green);
        QPainter p(&canvas);
        list.Draw(p, 1, 1, 0);
        list.Draw(p, 1, 1, 7); // out of range: nothing
        return canvas;
    };
    QImage canvas = drawn();
    EXPECT_EQ(pixel(canvas, 1, 1), QColor(Qt::green)) << "white in the mask is transparent";
    EXPECT_EQ(pixel(canvas, 2, 1), QColor(Qt::red));
    EXPECT_EQ(pixel(canvas, 0, 0), QColor(Qt::green));

    list.setBkColor(QColor(Qt::blue));
    canvas = drawn();
    EXPECT_EQ(pixel(canvas, 1, 1), QColor(Qt::blue));
}

TEST(SideBarPainting, GroupSwitchSlideGrowsItsStepEveryFiftyMilliseconds)
{
    struct Row {
        bool downward;
        QRect source, uncovered;
        QPoint target;
    };
    // A region 100 high, headers 20: after the steps at 0, 10, 51 and 60 ms
    // (1, 1, 3 and 3 pixels) the old picture has moved by 8.
    for (const Row &row :
         {Row{true, {0, 20, 90, 92}, {0, 20, 90, 8}, {0, 28}}, Row{false, {0, 28, 90, 92}, {0, 112, 90, 8}, {0, 20}}}) {
        GroupSwitchSlide slide({0, 20, 90, 100}, row.downward, 20);
        for (const qint64 ms : {0, 10, 51, 60})
            ASSERT_TRUE(slide.advance(ms));
        EXPECT_EQ(slide.distance(), 8);
        EXPECT_EQ(slide.source(), row.source) << row.downward;
        EXPECT_EQ(slide.target(), row.target) << row.downward;
        EXPECT_EQ(slide.uncovered(), row.uncovered) << row.downward;
        qint64 ms = 60;
        while (slide.advance(ms += 5)) {
        }
        EXPECT_GE(slide.distance(), 80) << "ends once no more than a header is left";
        EXPECT_LT(slide.distance(), 100);
    }
}

// The switch is remembered only until it has been shown: by the slide on a
// shown bar, at once on a hidden one.
TEST(SideBarPainting, PreviousActiveGroupIsClearedAfterTheSwitchIsShown)
{
    for (const bool shown : {true, false}) {
        MenuBar menu;
        TSideBar &bar = menu.bar;
        TSideGroup &menuGroup = *bar.groups()[0];
        bar.groups().Add().items().Add().setCaption(QStringLiteral("Пункт"));
        bar.groups().Add();
        if (shown) {
            bar.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
        }
        bar.setActiveGroupIndex(1);
        EXPECT_EQ(bar.previousActiveGroup(), &menuGroup);
        if (shown) {
            bar.repaint(); // starts the slide; its steps come from the event loop
            EXPECT_EQ(bar.previousActiveGroup(), &menuGroup) << "sliding";
        } else {
            paint(bar);
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return bar.previousActiveGroup() == nullptr; }, 5000)) << shown;
    }
}

TEST(SideBarPainting, InvalidateItemCoversPictureAndCaption)
{
    MenuBar menu;
    TSideBar &bar = menu.bar;
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    QRegion painted;
    struct Spy : QObject {
        QRegion &region;
        explicit Spy(QRegion &r) : region(r) {}
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                region += static_cast<QPaintEvent *>(event)->region();
            return false;
        }
    } spy(painted);
    bar.installEventFilter(&spy);
    const TSideItemViewInfo &info = *bar.viewInfo().ItemInfo(&menu.item(1));
    bar.painter().InvalidateItem(menu.item(1));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !painted.isEmpty(); }));
    EXPECT_EQ(painted, QRegion(info.PictureBounds.inflated(1, 1).toQRect()) + QRegion(info.TextBounds.toQRect()));
}
