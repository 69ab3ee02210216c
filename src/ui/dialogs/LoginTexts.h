#pragma once
// The login window's fixed texts.
#include <QString>

namespace kivtal {

inline const QString kAccountPlaceholder = QStringLiteral("请输入账号");
inline const QString kPasswordPlaceholder = QStringLiteral("请输入密码");
// Always six, so the mask never tells how long the password is.
inline const QString kPasswordMask = QStringLiteral("●●●●●●");

inline const QString kTipTitle = QStringLiteral("温馨提示");
inline const QString kTipServerBusy = QStringLiteral("服务器繁忙，请稍后再试!");
inline const QString kTipWrongPassword = QStringLiteral("用户密码或账号错误。");
inline const QString kTipNoNetwork = QStringLiteral("当前网络无法连接，请检查网络后再试！");
inline const QString kTipServiceFailed = QStringLiteral("服务器返回失败，请稍后再试!");
inline const QString kTipEmptyInput = QStringLiteral("用户账号和密码不能为空");

}  // namespace kivtal
