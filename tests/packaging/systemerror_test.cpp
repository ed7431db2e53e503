#include "launcher/systemerror.h"

#include <cerrno>
#include <gtest/gtest.h>

// The launcher's messages name the system's reason in Russian, whatever
// the locale it started in.
TEST(SystemError, ReasonsAreRussian)
{
    EXPECT_EQ(systemerror::text(EACCES), QStringLiteral("нет прав доступа"));
    EXPECT_EQ(systemerror::text(ENOSPC), QStringLiteral("на диске нет места"));
    EXPECT_EQ(systemerror::text(EROFS), QStringLiteral("диск доступен только для чтения"));
    EXPECT_EQ(systemerror::text(12345), QStringLiteral("системная ошибка 12345"));
}
