#pragma once
// Popup menus tell their owner which item was clicked by WM_UI_MENU_ITEM. The item's
// name travels as its number in this fixed table, so the message carries a plain
// value: nothing to free, nothing left behind when the owner has closed meanwhile.
#include <QString>
#include <cstdint>

namespace kivtal {

// The item's number, or -1 for a name no menu offers.
std::intptr_t MenuItemCode(const QString& name);
// The name of a number MenuItemCode gave; empty for any other number.
QString MenuItemName(std::intptr_t code);

}  // namespace kivtal
