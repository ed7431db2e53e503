#include "controls/flat/flatlook.h"

#include "platform/colors.h"

FlatLook::FlatLook(QWidget &owner) : owner_(owner), borderColor_(platform::colors::clBtnShadow) {}

void FlatLook::setBorderColor(const platform::colors::Color &value)
{
    if (borderColor_ == value)
        return;
    borderColor_ = value;
    if (flat_) // only the flat look shows it
        owner_.update();
}
