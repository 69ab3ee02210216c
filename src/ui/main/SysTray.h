#pragma once
// The tray icon of the main window. Its clicks reach the window as WM_UI_TRAY with the
// mouse message in lParam (513 left button down, 517 right button up), through the
// window's message queue like every other event of the shell.
#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>

#include "ui/toolkit/SkinLoader.h"
#include "ui/toolkit/WindowImplBase.h"

namespace kivtal {

inline constexpr std::intptr_t kTrayIconId = 3025;
inline constexpr std::intptr_t kTrayLeftButtonDown = 513;
inline constexpr std::intptr_t kTrayRightButtonUp = 517;

inline const QString kTrayTip = QStringLiteral("Kivtal");
inline const QString kTrayIconFile = kSkinIconFile;

class CSysTray : public QObject {
    Q_OBJECT

public:
    // window receives the clicks and owns this object.
    explicit CSysTray(WindowImplBase& window);

    // Adds the icon the first time, then sets the tip every time, so a second
    // initialisation of the window does not add a second icon.
    void Setup(const QIcon& icon = QIcon(kTrayIconFile));

    // False for a null icon. The icon is kept even while the desktop has no tray: it
    // appears once a tray does.
    bool AddIcon(const QIcon& icon);
    // Only once the icon was added.
    bool SetTip(const QString& tip);
    void RemoveIcon();

    bool IsAdded() const { return icon_ != nullptr; }
    QSystemTrayIcon* Icon() const { return icon_; }

private:
    void OnActivated(QSystemTrayIcon::ActivationReason reason);

    WindowImplBase& window_;
    QSystemTrayIcon* icon_ = nullptr;  // a child of this object
};

}  // namespace kivtal
