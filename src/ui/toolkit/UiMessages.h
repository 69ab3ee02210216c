#pragma once
// Numbers of the messages the windows send one another (WM_USER + n). The updater
// and the worker share some of these numbers, so they never change.
#include "net/WorkerMessages.h"

namespace kivtal {

inline constexpr unsigned WM_UI_CALENDAR_PICK = WM_USER + 1324;
inline constexpr unsigned WM_UI_MENU_ITEM = WM_USER + 1246;
inline constexpr unsigned WM_CAM_FRAME = WM_USER + 1225;
inline constexpr unsigned WM_CAM_GRAPH_EVENT = WM_USER + 1226;
inline constexpr unsigned WM_CAM_DEVICE = WM_USER + 1228;
inline constexpr unsigned WM_CAM_ITEM_REMOVE = WM_USER + 1229;
inline constexpr unsigned WM_CAM_ITEM_RETRY = WM_USER + 1230;
inline constexpr unsigned WM_UI_NEWS_READ = WM_USER + 2025;
inline constexpr unsigned WM_UI_GROUP_DELETE = WM_USER + 2027;
inline constexpr unsigned WM_UI_GROUP_RENAME = WM_USER + 2028;
inline constexpr unsigned WM_UI_REMARK_DELETE = WM_USER + 2029;
inline constexpr unsigned WM_UI_REMARK_EDIT = WM_USER + 2030;
inline constexpr unsigned WM_UI_REMINDER_DELETE = WM_USER + 2031;
inline constexpr unsigned WM_UI_REMINDER_EDIT = WM_USER + 2032;
inline constexpr unsigned WM_COMBO_PICKED = WM_USER + 2033;
inline constexpr unsigned WM_UI_SET_COLUMNS = WM_USER + 2034;
inline constexpr unsigned WM_UI_MATTER_ADD_REMARK = WM_USER + 2036;
inline constexpr unsigned WM_UI_MATTER_DETAILS = WM_USER + 2037;
inline constexpr unsigned WM_LOGIN_EMPTY_INPUT = WM_USER + 2039;
inline constexpr unsigned WM_UI_TRAY = WM_USER + 2042;
inline constexpr unsigned WM_UI_MASK_BUSY = WM_USER + 2043;
inline constexpr unsigned WM_UI_MASK_IDLE = WM_USER + 2044;
inline constexpr unsigned WM_LOGIN_SEND = WM_USER + 2045;
inline constexpr unsigned WM_UPD_PROGRESS = WM_USER + 2047;
inline constexpr unsigned WM_UI_FILL_PICKERS = WM_USER + 2049;
inline constexpr unsigned WM_UI_HOME_INIT = WM_USER + 2050;
inline constexpr unsigned WM_UI_ADD_MATTER_FIRST = WM_USER + 2051;
inline constexpr unsigned WM_LOGIN_CHECK_VER = WM_USER + 2052;
inline constexpr unsigned WM_UPD_CLIENT_EXIT = WM_USER + 2053;
inline constexpr unsigned WM_LOGIN_RESUME = WM_USER + 2054;
inline constexpr unsigned WM_CAM_LOST = WM_USER + 2059;
// Opens the contact editor on a contact (wParam = bc_id): a birthday row, item or reminder.
inline constexpr unsigned WM_UI_CONTACT_OPEN = WM_USER + 2060;

}  // namespace kivtal
