#pragma once
// The base of every window: built from a named layout of the skin, told about its
// controls through one Notify(type, sender) hook, and driven by numbered messages
// (posted from any thread, or sent), timers that arrive as message 275, and a modal
// loop that returns the code passed to Close.
//
// Windows are created with new and delete themselves once closed; keep a QPointer or
// the handle, never a raw pointer, past Close. An owned window (owner passed to
// Create) is destroyed with its owner.
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "net/ResultPoster.h"
#include "ui/toolkit/WindowRegistry.h"

class QEventLoop;

namespace kivtal {

class NotifyBridge;

class WindowImplBase : public QWidget {
    Q_OBJECT

public:
    WindowImplBase();
    ~WindowImplBase() override;

    // Loads the layout and wires its controls; the window stays hidden. False when the
    // layout cannot be loaded.
    bool Create(QWidget* owner, const QString& title);

    WindowHandle GetHandle() const { return handle_; }

    // The control of this window (not of windows it owns) with that layout name.
    QWidget* FindControl(const QString& name) const;
    template <class T>
    T* FindControl(const QString& name) const {
        return qobject_cast<T*>(FindControl(name));
    }

    // Centred over the owner window, or on the screen without one; kept on the screen.
    void CenterWindow();
    // Moves the window back onto its screen's available area when part of it left it.
    void KeepOnScreen();
    void ShowWindow(bool show = true);

    // Shows the window and returns the code passed to Close. An owned window blocks its
    // owner (and the owner's owners) meanwhile; other windows stay usable.
    int ShowModal();
    // Hides the window, ends its modal loop with code, runs the final teardown and
    // schedules deletion. Later calls do nothing.
    void Close(int code = 1);
    bool IsClosing() const { return closing_; }

    // Any thread; dropped once the window has closed.
    void PostMessage(unsigned number, std::intptr_t wParam = 0, std::intptr_t lParam = 0);
    // Any thread: a message owning a value, see WindowRegistry::PostValue.
    template <class T>
    bool PostValue(unsigned number, std::intptr_t wParam, T value) {
        return WindowRegistry::PostValue(handle_, number, wParam, std::move(value));
    }
    // Handled before returning. From another thread the caller blocks until the UI
    // thread has handled it, so the caller must know the window is alive.
    std::intptr_t SendMessage(unsigned number, std::intptr_t wParam = 0, std::intptr_t lParam = 0);

    // UI thread. Setting an id that runs restarts it with the new interval.
    void SetTimer(std::uintptr_t id, int milliseconds);
    void KillTimer(std::uintptr_t id);
    bool IsTimerRunning(std::uintptr_t id) const { return timers_.count(id) != 0; }

    // Wires controls created at run time (list rows) into Notify.
    void BindNotifications(QWidget* root);
    void SendNotify(const QString& type, QWidget* sender);

    // Test hook: called inside every modal loop once it runs, so tests can answer boxes
    // that application code opens. Empty to remove.
    static void SetModalObserver(std::function<void(WindowImplBase&)> observer);

    // Creation of a custom control by class name, asked before the skin's own classes.
    virtual QWidget* CreateControl(const QString& className, QWidget* parent);

    virtual QString GetSkinFile() const = 0;
    virtual QString GetWindowClassName() const = 0;

protected:
    // After the layout is loaded, before the window is shown.
    virtual void InitWindow() {}
    // "windowinit" (sender: the window) arrives when the window is first shown.
    virtual void Notify(const QString& type, QWidget* sender);
    // Every numbered message and timer (275, wParam = timer id).
    virtual std::intptr_t HandleCustomMessage(unsigned number, std::intptr_t wParam, std::intptr_t lParam,
                                              bool& handled);
    // Final teardown, once, when the window closes.
    virtual void OnFinalMessage() {}
    // Closing from outside the window's own buttons (window manager, Alt+F4).
    virtual void OnSystemClose() { Close(1); }
    // Presses this far from the top on the window's background move the window, as a
    // title bar would; the skin's windows have no system frame. 0: not movable.
    virtual int CaptionHeight() const { return 32; }
    // False for a window that follows another's place (the mask over its owner).
    virtual bool StaysOnScreen() const { return true; }
    // The buttons Enter and Escape press: the first of each list that is shown and
    // enabled. Enter on a focused button presses that button instead; a key whose list
    // has no such button does nothing.
    virtual std::vector<QString> EnterButtons() const { return {}; }
    virtual std::vector<QString> EscapeButtons() const { return {}; }
    // True for a window that opens with the focus on FirstField().
    virtual bool OpensOnFirstField() const { return false; }
    // The first field (edit, text box, date, editable box) in the Tab order, else the
    // Enter button; nullptr when there is neither.
    QWidget* FirstField() const;

    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    std::intptr_t DispatchMessage(unsigned number, std::intptr_t wParam, std::intptr_t lParam);
    bool StartCaptionDrag(QObject* watched, QEvent* event);
    // Clicks the first shown, enabled button of names; false when there is none.
    bool PressFirst(const std::vector<QString>& names);
    void OnControlFocusIn(QWidget* control);
    void OnControlFocusOut(QWidget* control, Qt::FocusReason reason);

    WindowHandle handle_ = 0;
    QWidget* root_ = nullptr;
    NotifyBridge* bridge_ = nullptr;
    QEventLoop* modalLoop_ = nullptr;
    QPointer<QWidget> focused_;             // the control "setfocus" was last sent for
    std::map<std::uintptr_t, int> timers_;  // id -> Qt timer id
    int closeCode_ = 0;
    bool closing_ = false;
    bool initNotified_ = false;
};

}  // namespace kivtal
