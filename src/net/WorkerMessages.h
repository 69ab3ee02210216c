#pragma once
// Numbers of the requests posted to the network worker and of the results it posts
// back to the result window. They are shared with the windows and the updater, so
// they never change.

namespace kivtal {

inline constexpr unsigned WM_USER = 0x0400;
inline constexpr unsigned WM_TIMER = 275;

// Requests (to the worker).
inline constexpr unsigned WM_REQ_SYNC = WM_USER + 1025;
inline constexpr unsigned WM_REQ_LOGIN = WM_USER + 1027;
inline constexpr unsigned WM_REQ_CHECK_VER = WM_USER + 1029;
inline constexpr unsigned WM_REQ_LOGOUT = WM_USER + 1031;
inline constexpr unsigned WM_REQ_SECRETARY_UPLOAD = WM_USER + 1033;
inline constexpr unsigned WM_REQ_OPEN_REGISTER = WM_USER + 1035;
inline constexpr unsigned WM_REQ_OPEN_PASSWORD = WM_USER + 1036;
inline constexpr unsigned WM_REQ_ADV = WM_USER + 1037;
inline constexpr unsigned WM_REQ_OPEN_ABOUT = WM_USER + 1039;
inline constexpr unsigned WM_REQ_GET_NEWS = WM_USER + 1040;
inline constexpr unsigned WM_REQ_START_TIMER = WM_USER + 1042;
inline constexpr unsigned WM_REQ_OPEN_CHARGE = WM_USER + 1043;
inline constexpr unsigned WM_REQ_OPEN_SAFE = WM_USER + 1044;
inline constexpr unsigned WM_REQ_OPEN_HOME = WM_USER + 1045;
inline constexpr unsigned WM_REQ_OPEN_HOME_2 = WM_USER + 1046;
inline constexpr unsigned WM_REQ_SYNC_ALARM = WM_USER + 1051;
inline constexpr unsigned WM_REQ_SYNC_USER_INFO = WM_USER + 1053;
inline constexpr unsigned WM_REQ_SYNC_MODIFY_ALARM = WM_USER + 1055;
inline constexpr unsigned WM_REQ_SYNC_MODIFY_USER_INFO = WM_USER + 1057;
inline constexpr unsigned WM_REQ_SYNC_DEL_EVENT = WM_USER + 1059;
inline constexpr unsigned WM_REQ_GET_SERVER_TIME = WM_USER + 1061;

// Results (to the result window).
inline constexpr unsigned WM_RES_SYNC = WM_USER + 1026;
inline constexpr unsigned WM_RES_LOGIN = WM_USER + 1028;
inline constexpr unsigned WM_RES_CHECK_VER = WM_USER + 1030;
inline constexpr unsigned WM_RES_LOGOUT = WM_USER + 1032;
inline constexpr unsigned WM_RES_SECRETARY_UPLOAD = WM_USER + 1034;
inline constexpr unsigned WM_RES_GET_NEWS = WM_USER + 1041;
inline constexpr unsigned WM_RES_SYNC_ALARM = WM_USER + 1052;
inline constexpr unsigned WM_RES_SYNC_MODIFY_ALARM = WM_USER + 1056;
inline constexpr unsigned WM_RES_SYNC_USER_INFO = WM_USER + 1058;
inline constexpr unsigned WM_RES_SYNC_DEL_EVENT = WM_USER + 1060;
inline constexpr unsigned WM_RES_GET_SERVER_TIME = WM_USER + 1062;

// Why a sync run was asked for (the reason carried by WM_REQ_SYNC).
enum SyncReason : int {
    SYNC_BY_USER = 1,         // the sync button, or the first-login sync
    SYNC_BY_DEFAULT = 2,      // the timer, or the end of a version check
    SYNC_BY_OPER_EFFECT = 3,  // a local edit was saved
};

// Codes a network job reports besides the service's own error codes.
inline constexpr int kResultNoNetwork = -200;
inline constexpr int kResultUnexpectedResults = -999;
// A sync run reached the service, but what the service answered could not be stored
// (its acknowledgements, or the changes it sent); the next run retries.
inline constexpr int kResultNotStored = -300;
// A sync run completed, but the service refused some of the uploaded entries: they are
// set aside (store/RefusedUploads.h) and shown, and the others went up.
inline constexpr int kResultUploadRefused = -302;

}  // namespace kivtal
