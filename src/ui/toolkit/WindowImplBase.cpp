#include "ui/toolkit/WindowImplBase.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFocusEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include "net/WorkerMessages.h"
#include "ui/toolkit/ScreenFit.h"
#include "ui/toolkit/NotifyBridge.h"
#include "ui/toolkit/SkinLoader.h"
#include "ui/toolkit/WindowMessage.h"
#include "ui/toolkit/WindowRegistry.h"

namespace kivtal {
namespace {

std::function<void(WindowImplBase&)>& ModalObserver() {
    static std::function<void(WindowImplBase&)> observer;
    return observer;
}

}  // namespace

WindowImplBase::WindowImplBase() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {
    handle_ = WindowRegistry::Register(this);
    bridge_ = new NotifyBridge(this);
}

WindowImplBase::~WindowImplBase() {
    // First of all, so that no thread can post to a window being torn down.
    WindowRegistry::Unregister(handle_);
    // Destroyed with its owner while running modally: let ShowModal return.
    if (modalLoop_) modalLoop_->exit(closeCode_);
}

bool WindowImplBase::Create(QWidget* owner, const QString& title) {
    LoadSkin();
    if (owner) setParent(owner->window(), windowFlags());
    setObjectName(GetWindowClassName());
    setWindowTitle(title);
    setStyleSheet(SkinStyleSheet());
    SkinLoader loader(this);
    root_ = loader.LoadLayout(GetSkinFile(), this);
    if (!root_) return false;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(root_);
    resize(root_->size());
    root_->installEventFilter(this);
    bridge_->Bind(root_);
    InitWindow();
    return true;
}

QWidget* WindowImplBase::FindControl(const QString& name) const {
    if (!root_ || name.isEmpty()) return nullptr;
    if (root_->objectName() == name) return root_;
    return root_->findChild<QWidget*>(name);
}

void WindowImplBase::CenterWindow() {
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    QRect area;
    if (owner) area = owner->frameGeometry();
    else if (QScreen* s = screen()) area = s->availableGeometry();
    if (!area.isValid()) return;
    move(area.center() - QPoint(width() / 2, height() / 2));
    KeepOnScreen();
}

// The frame, not the client area: the skin's windows have no system frame, but a
// window manager may add one.
void WindowImplBase::KeepOnScreen() {
    const QScreen* s = screen();
    if (!s || !isWindow() || !StaysOnScreen()) return;
    const QRect frame = frameGeometry();
    const QRect fitted = FitOnScreen(frame, s->availableGeometry());
    if (fitted.topLeft() != frame.topLeft()) move(pos() + (fitted.topLeft() - frame.topLeft()));
}

void WindowImplBase::ShowWindow(bool show) {
    setVisible(show);
    if (show) raise();
}

int WindowImplBase::ShowModal() {
    if (closing_) return closeCode_;
    // Modal to its owner's windows only: a box shown without an owner (a device error
    // while an editor runs) must stay answerable, and an ownerless modal window (the
    // login window, the main window) blocks nothing else.
    if (!isVisible()) setWindowModality(parentWidget() ? Qt::WindowModal : Qt::NonModal);
    QEventLoop loop;
    modalLoop_ = &loop;
    show();
    raise();
    activateWindow();
    QPointer<WindowImplBase> self(this);
    if (ModalObserver()) {
        QTimer::singleShot(0, this, [this] {
            // A copy: the observer may replace itself while it runs.
            const auto observer = ModalObserver();
            if (observer && !closing_) observer(*this);
        });
    }
    // Close may already have run inside show() (a "windowinit" handler that closes).
    const int code = closing_ ? closeCode_ : loop.exec(QEventLoop::DialogExec);
    if (self) self->modalLoop_ = nullptr;
    return code;
}

void WindowImplBase::Close(int code) {
    if (closing_) return;
    closing_ = true;
    closeCode_ = code;
    for (const auto& [id, qtId] : timers_) killTimer(qtId);
    timers_.clear();
    hide();
    if (modalLoop_) modalLoop_->exit(code);
    OnFinalMessage();
    WindowRegistry::Unregister(handle_);
    deleteLater();
}

void WindowImplBase::PostMessage(unsigned number, std::intptr_t wParam, std::intptr_t lParam) {
    WindowRegistry::Post(handle_, number, wParam, lParam);
}

std::intptr_t WindowImplBase::SendMessage(unsigned number, std::intptr_t wParam, std::intptr_t lParam) {
    if (QThread::currentThread() == thread()) return DispatchMessage(number, wParam, lParam);
    std::intptr_t result = 0;
    QMetaObject::invokeMethod(
        this, [&] { result = DispatchMessage(number, wParam, lParam); }, Qt::BlockingQueuedConnection);
    return result;
}

void WindowImplBase::SetTimer(std::uintptr_t id, int milliseconds) {
    if (closing_) return;
    KillTimer(id);
    timers_[id] = startTimer(milliseconds);
}

void WindowImplBase::KillTimer(std::uintptr_t id) {
    const auto it = timers_.find(id);
    if (it == timers_.end()) return;
    killTimer(it->second);
    timers_.erase(it);
}

void WindowImplBase::BindNotifications(QWidget* root) { bridge_->Bind(root); }

void WindowImplBase::SendNotify(const QString& type, QWidget* sender) {
    if (!closing_) Notify(type, sender);
}

void WindowImplBase::SetModalObserver(std::function<void(WindowImplBase&)> observer) {
    ModalObserver() = std::move(observer);
}

QWidget* WindowImplBase::CreateControl(const QString&, QWidget*) { return nullptr; }

void WindowImplBase::Notify(const QString&, QWidget*) {}

std::intptr_t WindowImplBase::HandleCustomMessage(unsigned, std::intptr_t, std::intptr_t, bool& handled) {
    handled = false;
    return 0;
}

std::intptr_t WindowImplBase::DispatchMessage(unsigned number, std::intptr_t wParam, std::intptr_t lParam) {
    bool handled = false;
    return HandleCustomMessage(number, wParam, lParam, handled);
}

bool WindowImplBase::event(QEvent* event) {
    if (event->type() == WindowMessageEvent::EventType()) {
        const auto* message = static_cast<WindowMessageEvent*>(event);
        if (!closing_) DispatchMessage(message->number, message->wParam, message->lParam);
        return true;
    }
    // A window that grows (a page opened, a longer form) stays on the desktop.
    if (event->type() == QEvent::Resize && isVisible()) KeepOnScreen();
    return QWidget::event(event);
}

bool WindowImplBase::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::FocusIn: OnControlFocusIn(qobject_cast<QWidget*>(watched)); break;
        case QEvent::FocusOut:
            OnControlFocusOut(qobject_cast<QWidget*>(watched), static_cast<QFocusEvent*>(event)->reason());
            break;
        case QEvent::MouseButtonPress:
            if (StartCaptionDrag(watched, event)) return true;
            break;
        default: break;
    }
    return QWidget::eventFilter(watched, event);
}

// "setfocus" and "killfocus" follow the focus between the window's own controls. When
// another window takes the activation (a box that a focus check opened, a picker's
// popup, another program) the control keeps the window's focus, and when the window
// gets it back, the same control receiving it again is no news: a check that opens a
// box on "killfocus" must not run again because of its own box.
void WindowImplBase::OnControlFocusIn(QWidget* control) {
    if (!control || control == focused_) return;
    if (QWidget* previous = focused_.data()) {
        // It lost the focus while the window was inactive (hidden, disabled, moved on).
        focused_ = nullptr;
        SendNotify(QStringLiteral("killfocus"), previous);
    }
    focused_ = control;
    SendNotify(QStringLiteral("setfocus"), control);
}

void WindowImplBase::OnControlFocusOut(QWidget* control, Qt::FocusReason reason) {
    // While a popup is open the focus stays with the control that opened it.
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason || QApplication::activePopupWidget())
        return;
    if (!control || control != focused_) return;
    focused_ = nullptr;
    SendNotify(QStringLiteral("killfocus"), control);
}

bool WindowImplBase::StartCaptionDrag(QObject* watched, QEvent* event) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(watched);
    const bool background = widget == root_ || qobject_cast<QLabel*>(widget);
    if (!background || mouse->button() != Qt::LeftButton || !windowHandle()) return false;
    if (mapFromGlobal(mouse->globalPosition().toPoint()).y() >= CaptionHeight()) return false;
    return windowHandle()->startSystemMove();
}

void WindowImplBase::timerEvent(QTimerEvent* event) {
    for (const auto& [id, qtId] : timers_) {
        if (qtId == event->timerId()) {
            DispatchMessage(WM_TIMER, id, 0);
            return;
        }
    }
    QWidget::timerEvent(event);
}

void WindowImplBase::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (initNotified_) return;
    initNotified_ = true;
    SendNotify(QStringLiteral("windowinit"), this);
    if (QWidget* first = OpensOnFirstField() ? FirstField() : nullptr; first && !focusWidget())
        first->setFocus(Qt::ActiveWindowFocusReason);
}

namespace {

bool IsField(const QWidget* w) {
    if (w->property("standsForField").toBool()) return true;
    if (qobject_cast<const QLineEdit*>(w) || qobject_cast<const QTextEdit*>(w) ||
        qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w))
        return !w->property("readOnly").toBool();
    const auto* combo = qobject_cast<const QComboBox*>(w);
    return combo && combo->isEditable();
}

}  // namespace

QWidget* WindowImplBase::FirstField() const {
    // The Tab order from the window round to itself.
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        if (w->window() != this || !w->isVisibleTo(this) || !w->isEnabled()) continue;
        if ((w->focusPolicy() & Qt::TabFocus) && IsField(w)) return w;
    }
    for (const QString& name : EnterButtons())
        if (QWidget* b = FindControl(name); b && b->isVisibleTo(this) && b->isEnabled()) return b;
    return nullptr;
}

bool WindowImplBase::PressFirst(const std::vector<QString>& names) {
    for (const QString& name : names) {
        auto* button = qobject_cast<QAbstractButton*>(FindControl(name));
        if (!button || !button->isVisibleTo(this) || !button->isEnabled()) continue;
        button->click();
        return true;
    }
    return false;
}

// Keys the focused control leaves unused arrive here: Enter from a one-line edit,
// Escape from nearly every control.
void WindowImplBase::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (enter && plain) {
        auto* focused = qobject_cast<QAbstractButton*>(focusWidget());
        if (focused && focused->window() == this && focused->isVisibleTo(this)) {
            focused->click();
            return;
        }
        if (PressFirst(EnterButtons())) return;
    } else if (event->key() == Qt::Key_Escape && plain && PressFirst(EscapeButtons())) {
        return;
    }
    QWidget::keyPressEvent(event);
}

void WindowImplBase::closeEvent(QCloseEvent* event) {
    // The window's lifetime belongs to Close; a close from outside asks the window.
    event->ignore();
    if (!closing_) OnSystemClose();
}

}  // namespace kivtal
