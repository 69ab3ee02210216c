#include "ui/toolkit/MenuItems.h"

#include <iterator>

namespace kivtal {
namespace {

// Every item of every popup menu of the main window. Append only: numbers may be in
// flight in the message queue while the program runs.
constexpr const char* kItems[] = {
    "menu_sort_a2z",   "menu_sort_z2a",     "menu_sort_n2o",
    "menu_sort_o2n",   "menu_addcon",       "menu_addMatter",
    "menu_recharge",   "menu_money",        "menu_userstting",
    "menu_pcsetting",  "menu_setting",      "menu_report",
    "menu_help",       "menu_about",        "menu_regist",
    "menu_exit",       "menu_usermsg",      "menu_move_group",
    "menu_user_edit",  "menu_user_delete",  "menu_import_contacts",
    "menu_export_all", "menu_export_group", "menu_find_duplicates",
};

constexpr std::intptr_t kCount = static_cast<std::intptr_t>(std::size(kItems));

}  // namespace

std::intptr_t MenuItemCode(const QString& name) {
    for (std::intptr_t i = 0; i < kCount; ++i)
        if (name == QLatin1String(kItems[i])) return i;
    return -1;
}

QString MenuItemName(std::intptr_t code) {
    if (code < 0 || code >= kCount) return {};
    return QString::fromLatin1(kItems[code]);
}

}  // namespace kivtal
