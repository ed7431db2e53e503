#include "controls/flat/flatspeedbutton.h"
#include "platform/shell.h"
#include "windows/aboutform.h"
#include "windows/clickablelabel.h"
#include "windows/maker.h"
#include "windows/toplinebevel.h"

#include "windowstest.h"

#include <QLabel>
#include <QPainter>
#include <QTest>

namespace {

class AboutFormTest : public WindowsTest {
protected:
    void TearDown() override
    {
        platform::setShellRecorder({});
        WindowsTest::TearDown();
    }
    TAboutForm form;
};

TEST_F(AboutFormTest, LinksOpenTheWebAddressAndAMailMessage)
{
    std::vector<platform::ShellRequest> requests;
    platform::setShellRecorder([&](const platform::ShellRequest &request) { requests.push_back(request); });
    whileShown(form, [&] {
        QTest::mouseClick(form.Label4, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseClick(form.Label2, Qt::LeftButton, {}, QPoint(5, 5));
    });
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].kind, platform::ShellRequest::OpenUrl);
    EXPECT_EQ(requests[0].target, QStringLiteral("https://www.example.org/spravochnik"));
    EXPECT_EQ(requests[1].target, QStringLiteral("mailto:spravochnik@example.org"));
}

TEST_F(AboutFormTest, OkClosesTheWindow)
{
    whileShown(form, [&] {
        form.FlatSpeedButton1->Click();
        EXPECT_FALSE(form.isVisible());
    });
}

// The wrapped texts must fit their declared boxes in the window's font.
TEST_F(AboutFormTest, RequirementTextsFitTheirBoxes)
{
    for (QLabel *label : {form.Label5, form.Label6}) {
        SCOPED_TRACE(label->text().toStdString());
        EXPECT_LE(label->heightForWidth(label->width()), label->height());
        for (const QString &word : label->text().split(u' ', Qt::SkipEmptyParts))
            EXPECT_LE(label->fontMetrics().horizontalAdvance(word), label->width());
    }
    EXPECT_EQ(form.Label5->size(), QSize(195, 39));
    EXPECT_EQ(form.Label6->size(), QSize(225, 33));
}

// Every one-line label shows its whole text inside the window.
TEST_F(AboutFormTest, LabelsFitTheWindow)
{
    for (QLabel *label : form.findChildren<QLabel *>()) {
        if (label == form.Image1 || label->wordWrap())
            continue;
        SCOPED_TRACE(label->text().toStdString());
        const int textWidth = label->fontMetrics().horizontalAdvance(label->text().trimmed());
        EXPECT_LE(textWidth, label->width());
        EXPECT_LE(label->x() + textWidth, form.width());
    }
}

TEST_F(AboutFormTest, PictureIsDrawnUnscaledAndCutAtTheBottom)
{
    const QPixmap picture = form.Image1->pixmap();
    EXPECT_EQ(picture.size(), QSize(164, 314));
    EXPECT_EQ(form.Image1->geometry(), QRect(2, 2, 165, 293));
}

} // namespace

// The requirement labels say what is verified and what is needed here, and
// the large title keeps off the window's right edge like the column below.
TEST_F(AboutFormTest, AdaptedRequirementsAndATitleInsideTheRightColumn)
{
    EXPECT_TRUE(form.Label5->text().startsWith(QStringLiteral("Проверено: Linux")));
    EXPECT_FALSE(form.Label5->text().contains(QStringLiteral("Windows")));
    EXPECT_TRUE(form.Label6->text().contains(QStringLiteral("basa.tel")));
    EXPECT_LE(form.Label10->geometry().right() + 1, form.Bevel1->geometry().right() + 1);
}
