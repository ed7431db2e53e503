#include "appfixture.h"

#include "app/form1.h"
#include "controls/flat/flatspeedbutton.h"
#include "platform/colors.h"
#include "support/desktopscheme.h"
#include "windows/aboutform.h"
#include "windows/addredform.h"
#include "windows/firstform.h"
#include "windows/forms.h"
#include "windows/knigaform.h"
#include "windows/kodform.h"

#include <QApplication>
#include <QImage>
#include <QLabel>

namespace colors = platform::colors;

namespace {

// The classic scheme with another colour wherever it has the button face.
QPalette withFace(const QColor &face)
{
    QPalette palette = colors::classicPalette();
    const QColor classicFace = palette.color(QPalette::Button);
    for (int role = 0; role < QPalette::NColorRoles; ++role)
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            if (palette.color(group, QPalette::ColorRole(role)) == classicFace)
                palette.setColor(group, QPalette::ColorRole(role), face);
    return palette;
}

// Pictures keep their own colours, the button face's value among them: the
// window's pictures, and the side menu's icons, which the limit below allows.
bool isPicture(QWidget *window, QPoint point)
{
    const QList<QLabel *> labels = window->findChildren<QLabel *>();
    return std::any_of(labels.begin(), labels.end(), [&](const QLabel *label) {
        return !label->pixmap().isNull() && QRect(label->mapTo(window, QPoint()), label->size()).contains(point);
    });
}

QImage picture(QWidget *window)
{
    return window->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

// A change of the desktop's scheme while the program runs reaches what every
// window stored at its creation: each pixel drawn in the button face takes
// the new face, and the fixed colours stay as they were.
TEST_F(AppFixture, EveryWindowFollowsAChangeOfTheDesktopScheme)
{
    start();
    main().FlatSpeedButton1->Click(); // rows and footers in the grids
    const QList<QWidget *> windows = {&main(), FirstForm, KnigaForm, KodForm, AboutForm, AddRedForm};
    std::vector<QImage> before;
    for (QWidget *window : windows)
        before.push_back(picture(window));
    const QRgb classicFace = QColor(colors::clBtnFace).rgb();
    const QColor face(70, 90, 110);
    DesktopScheme scheme(withFace(face));
    settle();
    ASSERT_EQ(QColor(colors::clBtnFace), face);

    const QRgb fixed[] = {colors::clRed.rgb(), colors::clTeal.rgb(), colors::clNavy.rgb()};
    for (int i = 0; i < windows.size(); ++i) {
        const QImage after = picture(windows[i]);
        ASSERT_EQ(after.size(), before[i].size());
        int faces = 0, stale = 0, fixedChanged = 0;
        for (int y = 0; y < after.height(); ++y)
            for (int x = 0; x < after.width(); ++x) {
                const QRgb was = before[i].pixel(x, y), now = after.pixel(x, y);
                if (was == classicFace) {
                    ++faces;
                    stale += now != face.rgb() && !isPicture(windows[i], {x, y});
                } else if (std::find(std::begin(fixed), std::end(fixed), was) != std::end(fixed)) {
                    fixedChanged += now != was;
                }
            }
        ASSERT_GT(faces, 0) << windows[i]->objectName().toStdString();
        EXPECT_LT(stale, faces / 1000) << windows[i]->windowTitle().toStdString() << ": " << faces << " face pixels";
        EXPECT_EQ(fixedChanged, 0) << windows[i]->windowTitle().toStdString();
    }
}
