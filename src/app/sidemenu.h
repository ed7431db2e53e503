#pragma once

// The main window's side menu: one group of five commands. The tag tells the
// item click which window to open; the picture indexes the large image list.
namespace sidemenu {

struct MenuItem {
    const char *caption;
    int tag;
    int largeImage;
};

inline constexpr MenuItem MenuItems[] = {
    {"Телефоны первой необходимости", 1, 6}, {"Личная телефонная книжка", 2, 2},       {"Коды городов Беларуси", 3, 3},
    {"О программе и разработчиках", 4, 5},   {"Справка по работе с программой", 5, 4},
};

} // namespace sidemenu
