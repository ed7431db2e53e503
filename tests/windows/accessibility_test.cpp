#include "support/accessibletree.h"
#include "windows/aboutform.h"
#include "windows/addredform.h"
#include "windows/firstform.h"
#include "windows/knigaform.h"
#include "windows/kodform.h"

#include "windowstest.h"

#include <QAccessibleInterface>
#include <memory>

// Every window as a screen reader finds it: a dialog named by its caption,
// its group boxes, labelled fields, buttons and lists named as they show.

namespace {

struct Part {
    QAccessible::Role role;
    const char *name;
};

struct Window {
    const char *title;
    std::function<std::unique_ptr<platform::Form>()> make;
    std::vector<Part> parts;
};

template <typename T> std::unique_ptr<platform::Form> make()
{
    return std::make_unique<T>();
}

class WindowAccessibilityTest : public WindowsTest {};

TEST_F(WindowAccessibilityTest, EveryWindowReadsAsItShows)
{
    using A = QAccessible;
    const Window windows[] = {
        {"Телефоны первой необходимости", make<TFirstForm>, {{A::List, ""}}},
        {"Личная телефонная книга",
         make<TKnigaForm>,
         {{A::Button, "Добавить новую запись"},
          {A::Button, "Удалить запись"},
          {A::Button, "Редактировать запись"},
          {A::Button, "Удалить все записи"},
          {A::EditableText, "Быстрый поиск по Ф.И.О."},
          {A::Button, "Очистить"},
          {A::Table, ""},
          {A::Button, "Последняя запись"}}},
        {"",
         make<TAddRedForm>,
         {{A::EditableText, "Ф.И.О."},
          {A::EditableText, "Адрес"},
          {A::EditableText, "Телефон"},
          {A::EditableText, "e-mail"},
          {A::Button, "ОК"},
          {A::Button, "Закрыть"}}},
        {"Коды городов Беларуси",
         make<TKodForm>,
         {{A::Grouping, "Поиск по области"},
          {A::ComboBox, "Выберите область"},
          {A::ListItem, "МИНСКАЯ"},
          {A::Button, "Показать"},
          {A::Grouping, "Поиск по населенному пункту"},
          {A::EditableText, "Введите название населенного пункта"},
          {A::Button, "Искать"},
          {A::ColumnHeader, "Код"},
          {A::Grouping, "Внимание!"}}},
        {"О программе", make<TAboutForm>, {{A::Button, "OK"}}},
    };
    for (const Window &window : windows) {
        std::unique_ptr<platform::Form> form = window.make();
        QAccessibleInterface *root = QAccessible::queryAccessibleInterface(form.get());
        EXPECT_EQ(root->role(), A::Dialog) << window.title;
        EXPECT_EQ(root->text(A::Name), QString::fromUtf8(window.title));
        for (const Part &part : window.parts)
            EXPECT_NE(findAccessible(form.get(), part.role, QString::fromUtf8(part.name)), nullptr)
                << window.title << ": " << part.name;
    }
}

} // namespace
