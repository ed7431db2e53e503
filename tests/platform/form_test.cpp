#include "platform/activation.h"
#include "platform/form.h"
#include "platform/formcentring.h"
#include "platform/messagebox.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <cstdlib>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace platform;

namespace {

// A form that records what its handlers saw.
class TestForm : public Form {
public:
    TestForm()
    {
        resize(300, 200);
        edit = new QLineEdit(this);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(edit);
    }
    void FormActivate() override
    {
        ++activations;
        if (onActivate)
            onActivate();
    }
    void FormClose(CloseAction &action) override
    {
        ++closeRequests;
        if (failClose)
            throw std::runtime_error("close failed");
        action = closeAction;
    }
    void FormKeyDown(int &key, Qt::KeyboardModifiers shift) override
    {
        previewed.append(key);
        if (key == swallowKey && shift == swallowModifiers)
            key = 0;
    }

    QLineEdit *edit;
    int activations = 0;
    int closeRequests = 0;
    bool failClose = false;
    CloseAction closeAction = caHide;
    int swallowKey = -1;
    Qt::KeyboardModifiers swallowModifiers;
    QList<int> previewed;
    std::function<void()> onActivate;
};

class Forms : public ::testing::Test {
protected:
    void SetUp() override
    {
        setMessageAnswerer([this](const ShownMessage &m) {
            boxes.append(m);
            return idOk;
        });
        main.show();
        QApplication::setActiveWindow(&main); // no window manager under Xvfb
        QCoreApplication::processEvents();
    }
    void TearDown() override { setMessageAnswerer({}); }

    // Shows `form` modally, runs `whileUp` inside the modal loop, then
    // closes the form unless `whileUp` did.
    static void showModally(TestForm &form, const std::function<void()> &whileUp)
    {
        QTimer::singleShot(0, [&form, whileUp] {
            whileUp();
            form.close();
        });
        form.ShowModal();
    }

    TestForm main;
    QList<ShownMessage> boxes;
};

// The window's frame, not just its client area, sits in the middle of the
// screen's free area.
bool centredByFrame(const QWidget &window)
{
    const QRect frame = window.frameGeometry();
    const QRect desktop = window.screen()->availableGeometry();
    return std::abs((frame.left() - desktop.left()) - (desktop.right() - frame.right())) <= 1 &&
           std::abs((frame.top() - desktop.top()) - (desktop.bottom() - frame.bottom())) <= 1;
}

} // namespace

TEST_F(Forms, FirstShowActivatesOnce)
{
    EXPECT_EQ(main.activations, 1);
    EXPECT_EQ(ActivationTracker::instance().current(), &main);
    main.hide();
    main.show(); // shown again after hiding: the tracker changes to it again
    QCoreApplication::processEvents();
    EXPECT_EQ(main.activations, 2);
}

TEST_F(Forms, SwitchingProgramsAndMinimisingDoNotActivate)
{
    QEvent deactivate(QEvent::WindowDeactivate), activate(QEvent::WindowActivate);
    QApplication::sendEvent(&main, &deactivate);
    QApplication::sendEvent(&main, &activate);
    main.showMinimized();
    QCoreApplication::processEvents();
    main.showNormal();
    QCoreApplication::processEvents();
    EXPECT_EQ(main.activations, 1);
}

TEST_F(Forms, ClosingAModalFormReactivatesItsOwnerBeforeShowModalReturns)
{
    TestForm child;
    int ownerActivationsWhileUp = -1;
    showModally(child, [&] {
        ownerActivationsWhileUp = main.activations;
        EXPECT_EQ(QApplication::activeModalWidget(), &child);
        EXPECT_EQ(ActivationTracker::instance().current(), &child);
    });
    EXPECT_EQ(child.activations, 1);
    EXPECT_EQ(ownerActivationsWhileUp, 1);
    EXPECT_EQ(main.activations, 2);
    EXPECT_FALSE(child.isVisible());
    EXPECT_EQ(ActivationTracker::instance().current(), &main);
}

TEST_F(Forms, MessageBoxesDoNotReactivateButThePlainMessageWindowDoes)
{
    TestForm child;
    showModally(child, [&] {
        messageBox(QStringLiteral("Внимание"), QStringLiteral("Внимание!"), mbExclamationOk);
        messageBox(QStringLiteral("Да?"), QStringLiteral("Подтверждение"), mbQuestionYesNo);
        EXPECT_EQ(child.activations, 1);
        showPlainMessage(QStringLiteral("archive"));
        EXPECT_EQ(child.activations, 2);
    });
    EXPECT_EQ(boxes.size(), 3);
}

TEST_F(Forms, ActivationThatShowsAnotherFormNests)
{
    // The owner's activation runs while the closing form's ShowModal unwinds;
    // a form shown from there is modal in its own right.
    TestForm child, second;
    main.onActivate = [&] {
        if (main.activations == 2)
            showModally(second, [] {});
    };
    showModally(child, [] {});
    EXPECT_EQ(second.activations, 1);
    EXPECT_EQ(main.activations, 3);
    EXPECT_EQ(ActivationTracker::instance().current(), &main);
}

TEST_F(Forms, ModalFormIsCentredKeepsItsStateAndBlocksItsOwner)
{
    TestForm child;
    child.edit->setText(QStringLiteral("kept"));
    showModally(child, [&] {
        EXPECT_TRUE(centredByFrame(child)) << "first showing";
        // Input for the owner goes nowhere while the modal form is up.
        main.edit->setFocus();
        QTest::keyClick(main.windowHandle(), Qt::Key_A);
        EXPECT_TRUE(main.edit->text().isEmpty());
        child.move(0, 0);
    });
    showModally(child, [&] {
        EXPECT_EQ(child.edit->text(), QStringLiteral("kept"));
        EXPECT_TRUE(centredByFrame(child)) << "after the user moved it";
    });
    EXPECT_EQ(child.activations, 2);
}

TEST_F(Forms, ModelessFormCentredOnTheDesktopIsCentredByItsFrameEachTimeItIsShown)
{
    TestForm form;
    form.setPosition(Form::poDesktopCenter);
    for (int showing = 0; showing < 2; ++showing) {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        EXPECT_TRUE(centredByFrame(form)) << "showing " << showing;
        form.move(0, 0);
        form.hide();
    }
}

TEST(FormPlacement, AWindowIsCentredAndShrunkOnlyWhereItsFrameWouldNotFit)
{
    const QMargins frame(2, 22, 2, 2);
    struct Case {
        const char *what;
        QRect area;
        QSize size;
        QRect placed;
    } cases[] = {
        {"fits", {0, 0, 1600, 1000}, {811, 501}, {394, 259, 811, 501}},
        {"too wide and tall", {0, 0, 800, 500}, {811, 501}, {2, 22, 796, 476}},
        {"too tall below a panel", {0, 30, 800, 470}, {400, 500}, {200, 52, 400, 446}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(centredInArea(c.area, c.size, frame), c.placed) << c.what;
}

TEST_F(Forms, AFixedSizeFormLargerThanTheDesktopIsShownInsideItCentred)
{
    TestForm child;
    const QRect desktop = main.screen()->availableGeometry();
    child.setFixedSize(desktop.size() + QSize(100, 100));
    showModally(child, [&] {
        EXPECT_TRUE(desktop.contains(child.frameGeometry()));
        EXPECT_TRUE(centredByFrame(child));
    });
}

TEST_F(Forms, CloseActionDecidesWhetherTheFormGoes)
{
    main.closeAction = caNone;
    EXPECT_FALSE(main.close());
    EXPECT_TRUE(main.isVisible());

    main.failClose = true; // an error in the handler keeps the form and is reported
    EXPECT_FALSE(main.close());
    EXPECT_TRUE(main.isVisible());
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0].text, QStringLiteral("close failed"));
    EXPECT_EQ(boxes[0].style, mbErrorOk);

    main.failClose = false;
    main.closeAction = caHide;
    EXPECT_TRUE(main.close());
    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(main.closeRequests, 3);
}

TEST_F(Forms, FreedFormIsDeletedAndItsOwnerReactivated)
{
    QPointer<TestForm> child = new TestForm;
    child->closeAction = caFree;
    showModally(*child, [] {});
    EXPECT_EQ(main.activations, 2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(child.isNull());
}

TEST_F(Forms, ClosingTheMainFormEndsTheEventLoop)
{
    Form::setMainForm(&main);
    QTimer::singleShot(0, [this] { main.close(); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QApplication::exec(), 0);
    Form::setMainForm(nullptr);
}

TEST_F(Forms, EnterAndEscapeDoNotCloseAForm)
{
    TestForm child;
    bool visibleAfterKeys = false;
    showModally(child, [&] {
        child.edit->setFocus();
        QTest::keyClick(child.edit, Qt::Key_Return);
        QTest::keyClick(child.edit, Qt::Key_Escape);
        QTest::keyClick(&child, Qt::Key_Escape);
        visibleAfterKeys = child.isVisible();
    });
    EXPECT_TRUE(visibleAfterKeys);
}

TEST_F(Forms, KeyPreviewSeesKeysBeforeTheFocusedControl)
{
    main.edit->setFocus();
    QTest::keyClick(main.edit, Qt::Key_A);
    EXPECT_TRUE(main.previewed.isEmpty()); // preview off

    main.KeyPreview = true;
    main.swallowKey = Qt::Key_B;
    QTest::keyClicks(main.edit, QStringLiteral("bc"));
    EXPECT_EQ(main.edit->text(), QStringLiteral("ac"));
    EXPECT_EQ(main.previewed, (QList<int>{Qt::Key_B, Qt::Key_C}));

    // The edit ignores Enter, which then travels on to the form: seen once.
    QTest::keyClick(main.edit, Qt::Key_Return);
    EXPECT_EQ(main.previewed.count(Qt::Key_Return), 1);
}

TEST_F(Forms, FocusedControlsMenuShortcutsComeBeforeThePreview)
{
    main.KeyPreview = true;
    auto *action = new QAction(main.edit);
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    action->setShortcutContext(Qt::WidgetShortcut);
    main.edit->addAction(action);
    int triggered = 0;
    QObject::connect(action, &QAction::triggered, [&] { ++triggered; });
    main.edit->setFocus();
    QTest::keyClick(main.windowHandle(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(triggered, 1);
    EXPECT_FALSE(main.previewed.contains(Qt::Key_D));
    QTest::keyClick(main.windowHandle(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(main.previewed.contains(Qt::Key_E));
}

TEST_F(Forms, AltF4ClosesTheFormUnlessThePreviewSwallowsIt)
{
    main.KeyPreview = true;
    main.swallowKey = Qt::Key_F4;
    main.swallowModifiers = Qt::AltModifier;
    main.edit->setFocus();
    QTest::keyClick(main.edit, Qt::Key_F4, Qt::AltModifier);
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.closeRequests, 0);

    TestForm child;
    bool closedByKey = false;
    showModally(child, [&] {
        child.edit->setFocus();
        QTest::keyClick(child.edit, Qt::Key_F4, Qt::AltModifier | Qt::ShiftModifier);
        closedByKey = !child.isVisible();
    });
    EXPECT_TRUE(closedByKey);
    EXPECT_EQ(child.activations, 1);
}

TEST_F(Forms, ANewKeyAtAnOldKeysAddressIsPreviewedAgain)
{
    // Down in an edit travels on to the form; a new key built where the old
    // one lay and sent to the form itself is a key of its own.
    main.KeyPreview = true;
    alignas(QKeyEvent) unsigned char slot[sizeof(QKeyEvent)];
    auto *down = new (slot) QKeyEvent(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(main.edit, down);
    down->~QKeyEvent();
    auto *next = new (slot) QKeyEvent(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier);
    QApplication::sendEvent(&main, next);
    next->~QKeyEvent();
    EXPECT_EQ(main.previewed, (QList<int>{Qt::Key_Down, Qt::Key_B}));
}

TEST_F(Forms, ACloseRequestWhileAltIsHeldTakesTheAltF4Road)
{
    // The window manager's close request for Alt+F4 arrives with Alt down;
    // the close box's arrives without.
    main.KeyPreview = true;
    main.swallowKey = Qt::Key_F4;
    main.swallowModifiers = Qt::AltModifier;
    QTest::keyPress(main.windowHandle(), Qt::Key_Alt, Qt::AltModifier);
    main.close();
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.closeRequests, 0);
    QTest::keyRelease(main.windowHandle(), Qt::Key_Alt);
    main.close();
    EXPECT_EQ(main.closeRequests, 1);
}

TEST_F(Forms, EscapeClosesAFormThatAsksForIt)
{
    TestForm child;
    child.setClosesOnEscape(true);
    bool visibleAfterEscape = true;
    showModally(child, [&] {
        child.edit->setFocus();
        QTest::keyClick(child.edit, Qt::Key_Escape);
        visibleAfterEscape = child.isVisible();
    });
    EXPECT_FALSE(visibleAfterEscape);
    EXPECT_EQ(child.closeRequests, 1);
}
