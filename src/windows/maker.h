#pragma once

#include <QString>

// Who made the program: shown in the about window and the main window's
// status bar.
namespace maker {

inline const QString name = QStringLiteral("Команда разработчиков справочника");
inline const QString webAddress = QStringLiteral("https://www.example.org/spravochnik");
inline const QString emailAddress = QStringLiteral("spravochnik@example.org");
inline const QString years = QStringLiteral("2026");

inline QString rightsNotice()
{
    return QStringLiteral("© %1 %2. Все права защищены.").arg(years, name);
}

} // namespace maker
