#include "windowstest.h"

#include "platform/form.h"

#include <QTest>
#include <QTimer>

void WindowsTest::SetUp()
{
    WorkDirTest::SetUp();
    platform::setMessageAnswerer([this](const platform::ShownMessage &message) {
        shown.push_back(message);
        if (!answers_.empty()) {
            const int answer = answers_.front();
            answers_.pop_front();
            return answer;
        }
        return message.style == platform::mbQuestionYesNo ? int(platform::idYes) : int(platform::idOk);
    });
}

void WindowsTest::TearDown()
{
    platform::setMessageAnswerer({});
    WorkDirTest::TearDown();
}

void whileShown(platform::Form &form, const std::function<void()> &script)
{
    QTimer::singleShot(0, &form, [&form, &script] {
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        script();
        form.close();
    });
    form.ShowModal();
}

void typeText(QWidget *control, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, control, Qt::Key_unknown, QString(c), Qt::NoModifier);
}
