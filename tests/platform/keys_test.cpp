#include "platform/form.h"
#include "platform/keyboardlayout.h"
#include "platform/keypress.h"
#include "platform/messagebox.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

using namespace platform;

namespace {

class PreviewForm : public Form {
public:
    PreviewForm()
    {
        edit = new QLineEdit(this);
        (new QVBoxLayout(this))->addWidget(edit);
        KeyPreview = true;
    }
    void FormKeyDown(int &key, Qt::KeyboardModifiers) override { previewed.append(key); }

    QLineEdit *edit;
    QList<int> previewed;
};

class Keys : public ::testing::Test {
protected:
    void SetUp() override
    {
        form.show();
        QApplication::setActiveWindow(&form);
        form.edit->setFocus();
        QCoreApplication::processEvents();
    }
    void TearDown() override
    {
        loadKeyboardLayout(QStringLiteral("00000409"), KLF_ACTIVATE);
        setMessageAnswerer({});
    }
    QString typed(const QString &keys)
    {
        form.edit->clear();
        QTest::keyClicks(form.edit, keys);
        return form.edit->text();
    }
    // A key whose character the desktop already delivers in Cyrillic.
    void typeDesktopText(const QString &text)
    {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QApplication::sendEvent(form.edit, &press);
    }

    PreviewForm form;
};

Qt::KeyboardModifier modifierOf(Qt::Key key)
{
    switch (key) {
    case Qt::Key_Shift: return Qt::ShiftModifier;
    case Qt::Key_Control: return Qt::ControlModifier;
    case Qt::Key_Alt: return Qt::AltModifier;
    default: return Qt::NoModifier;
    }
}

} // namespace

TEST_F(Keys, RussianLayoutTypesEveryCharacterByItsKey)
{
    EXPECT_TRUE(loadKeyboardLayout(QStringLiteral("00000419"), KLF_ACTIVATE));
    EXPECT_EQ(typed(QStringLiteral("`qwertyuiop[]asdfghjkl;'zxcvbnm,./")),
              QStringLiteral("ёйцукенгшщзхъфывапролджэячсмитьбю."));
    EXPECT_EQ(typed(QStringLiteral("~QWERTYUIOP{}ASDFGHJKL:\"ZXCVBNM<>?")),
              QStringLiteral("ЁЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЭЯЧСМИТЬБЮ,"));
    EXPECT_EQ(typed(QStringLiteral("!@#$%^&*()|")), QStringLiteral("!\"№;%:?*()/"));
    EXPECT_EQ(typed(QStringLiteral("0123456789 -=\\")), QStringLiteral("0123456789 -=\\"));
}

TEST_F(Keys, DesktopKeyCodesPlaceTheKeyWhateverLatinLayoutTypedIt)
{
    loadKeyboardLayout(QStringLiteral("00000419"), KLF_ACTIVATE);
    // The keys below by their X key codes; Windows numbers them 8 lower.
    for (const auto &[codes, offset] : {std::pair{NativeKeyCodes::X11, 0}, std::pair{NativeKeyCodes::Windows, -8}}) {
        KeyboardLayout::instance().setNativeKeyCodes(codes);
        // A German desktop types "y" on the key where a US keyboard has "z".
        auto key = [&](int keyCode, const QString &text, Qt::KeyboardModifiers mods = Qt::NoModifier) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, mods, quint32(keyCode + offset), 0, 0, text);
            QApplication::sendEvent(form.edit, &press);
        };
        form.edit->clear();
        key(52, QStringLiteral("y"));
        key(52, QStringLiteral("Y"), Qt::ShiftModifier);
        key(29, QStringLiteral("z"));
        key(61, QStringLiteral("-"));
        key(61, QStringLiteral("_"), Qt::ShiftModifier);
        key(10, QStringLiteral("1")); // a digit key
        key(12, QStringLiteral("§"), Qt::ShiftModifier);
        key(51, QStringLiteral("#")); // the backslash key of a US keyboard
        key(51, QStringLiteral("'"), Qt::ShiftModifier);
        key(47, QStringLiteral("ö")); // a German letter on a letter key
        key(20, QStringLiteral("ß")); // not a key the layout changes
        EXPECT_EQ(form.edit->text(), QStringLiteral("яЯн.,1№\\/жß")) << (offset ? "Windows" : "X11");
    }
    KeyboardLayout::instance().setNativeKeyCodes(NativeKeyCodes::X11);
}

TEST_F(Keys, PreviewSeesEachKeyOnceWhenTheLayoutRetypesIt)
{
    loadKeyboardLayout(QStringLiteral("00000419"), KLF_ACTIVATE);
    typed(QStringLiteral("qw"));
    EXPECT_EQ(form.previewed, (QList<int>{Qt::Key_Q, Qt::Key_W}));
}

TEST_F(Keys, DesktopCyrillicAndControlCombinationsAreLeftAlone)
{
    loadKeyboardLayout(QStringLiteral("00000419"), KLF_ACTIVATE);
    form.edit->clear();
    typeDesktopText(QStringLiteral("ж"));
    EXPECT_EQ(form.edit->text(), QStringLiteral("ж"));

    form.edit->setText(QStringLiteral("abc"));
    QTest::keyClick(form.edit, Qt::Key_A, Qt::ControlModifier); // select all, not "ф"
    EXPECT_EQ(form.edit->selectedText(), QStringLiteral("abc"));
}

TEST_F(Keys, ShiftWithAltOrCtrlSwitchesLayoutsOnReleaseUnlessAnotherKeyCameBetween)
{
    struct Row {
        std::vector<Qt::Key> keys; // pressed in order, released in reverse
        bool switches;
    };
    const Row rows[] = {
        {{Qt::Key_Alt, Qt::Key_Shift}, true},
        {{Qt::Key_Control, Qt::Key_Shift}, true},
        {{Qt::Key_Shift, Qt::Key_Control}, true},
        {{Qt::Key_Control, Qt::Key_Shift, Qt::Key_Right}, false}, // selects a word
        {{Qt::Key_Alt, Qt::Key_Shift, Qt::Key_Tab}, false},
        {{Qt::Key_Shift, Qt::Key_A}, false},
        {{Qt::Key_Control}, false},
    };
    // Each event carries the modifiers held before it, as the desktop's do
    // (QTest would add presses and releases of its own).
    Qt::KeyboardModifiers held;
    const auto send = [&](QEvent::Type type, Qt::Key key) {
        QKeyEvent event(type, key, held);
        QApplication::sendEvent(form.edit, &event);
    };
    for (const Row &row : rows) {
        loadKeyboardLayout(QStringLiteral("00000419"), KLF_ACTIVATE);
        held = {};
        for (Qt::Key key : row.keys) {
            send(QEvent::KeyPress, key);
            held |= modifierOf(key);
        }
        for (auto key = row.keys.rbegin(); key != row.keys.rend(); ++key) {
            EXPECT_TRUE(KeyboardLayout::instance().isRussian()) << "switched before every key was up";
            send(QEvent::KeyRelease, *key);
            held &= ~modifierOf(*key);
        }
        EXPECT_EQ(KeyboardLayout::instance().isRussian(), !row.switches)
            << row.keys.size() << " keys from " << row.keys[0];
    }
    // A chord released in another program, then Shift alone.
    held = {};
    send(QEvent::KeyPress, Qt::Key_Control);
    held = Qt::ControlModifier;
    send(QEvent::KeyPress, Qt::Key_Shift);
    held = {};
    send(QEvent::KeyPress, Qt::Key_Shift);
    held = Qt::ShiftModifier;
    send(QEvent::KeyRelease, Qt::Key_Shift);
    EXPECT_TRUE(KeyboardLayout::instance().isRussian());
    EXPECT_EQ(typed(QStringLiteral("q")), QStringLiteral("й"));
    loadKeyboardLayout(QStringLiteral("00000409"), KLF_ACTIVATE);
    EXPECT_EQ(typed(QStringLiteral("q")), QStringLiteral("q"));
}

TEST_F(Keys, LayoutRequestsNeedTheActivateFlagAndAKnownLayout)
{
    EXPECT_TRUE(loadKeyboardLayout(QStringLiteral("00000419"), 0));
    EXPECT_EQ(typed(QStringLiteral("q")), QStringLiteral("q"));
    EXPECT_FALSE(loadKeyboardLayout(QStringLiteral("00000000"), KLF_ACTIVATE));
    EXPECT_FALSE(KeyboardLayout::instance().isRussian());
}

TEST_F(Keys, KeyPressSeesEnterAsCharacter13AndDoesNotConsumeIt)
{
    QList<int> seen;
    setKeyPressHandler(form.edit, [&](QChar &key) { seen.append(key.unicode()); });
    int returns = 0;
    QObject::connect(form.edit, &QLineEdit::returnPressed, [&] { ++returns; });
    QTest::keyClick(form.edit, Qt::Key_Return);
    QTest::keyClick(form.edit, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(form.edit, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClick(form.edit, Qt::Key_Return, Qt::AltModifier);
    EXPECT_EQ(seen, (QList<int>{13, 13}));
    EXPECT_GE(returns, 2);
}

TEST_F(Keys, KeyPressCanChangeOrSwallowTheCharacterAfterTheLayout)
{
    loadKeyboardLayout(QStringLiteral("00000419"), KLF_ACTIVATE);
    QString seen;
    setKeyPressHandler(form.edit, [&](QChar &key) {
        seen += key;
        if (key == QChar(u'ф'))
            key = QChar(u'Ф');
        else if (key == QChar(u'ы'))
            key = QChar();
    });
    EXPECT_EQ(typed(QStringLiteral("asd")), QStringLiteral("Фв"));
    EXPECT_EQ(seen, QStringLiteral("фыв"));
}

TEST_F(Keys, ErrorInAKeyPressHandlerIsReportedAndTheKeyDropped)
{
    QList<ShownMessage> shown;
    setMessageAnswerer([&](const ShownMessage &m) {
        shown.append(m);
        return idOk;
    });
    setKeyPressHandler(form.edit, [](QChar &key) {
        if (key == QChar(u'x'))
            throw std::runtime_error("engine error");
    });
    EXPECT_EQ(typed(QStringLiteral("axb")), QStringLiteral("ab"));
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].text, QStringLiteral("engine error"));
}

TEST_F(Keys, WhereTheDesktopHasARussianLayoutItIsSelectedAndSwitchesByItself)
{
    int selections = 0;
    KeyboardLayout::instance().setDesktopRussianSelector([&] { return ++selections, true; });
    loadKeyboardLayout(QStringLiteral("00000419"), KLF_ACTIVATE);
    // Latin keys now come from the desktop's own switch: they stay Latin,
    // and Alt+Shift is the desktop's, not the program's.
    EXPECT_EQ(typed(QStringLiteral("abc")), QStringLiteral("abc"));
    QKeyEvent altPress(QEvent::KeyPress, Qt::Key_Alt, Qt::NoModifier);
    QKeyEvent shiftPress(QEvent::KeyPress, Qt::Key_Shift, Qt::AltModifier);
    QKeyEvent shiftRelease(QEvent::KeyRelease, Qt::Key_Shift, Qt::AltModifier | Qt::ShiftModifier);
    QKeyEvent altRelease(QEvent::KeyRelease, Qt::Key_Alt, Qt::AltModifier);
    for (QKeyEvent *event : {&altPress, &shiftPress, &shiftRelease, &altRelease})
        QApplication::sendEvent(form.edit, event);
    EXPECT_EQ(typed(QStringLiteral("abc")), QStringLiteral("abc"));
    loadKeyboardLayout(QStringLiteral("00000419"), KLF_ACTIVATE); // every activation selects it again
    EXPECT_EQ(selections, 2);
    KeyboardLayout::instance().setDesktopRussianSelector({});
}
