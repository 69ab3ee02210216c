#pragma once
// The notice the main window shows for a few seconds after something was deleted
// ("已删除 …  撤销"): 撤销, or Ctrl+Z while it shows, runs the undo it was offered, which
// restores the record through the store as an edit that syncs. A newer delete replaces
// the offer; the notice hides by itself when its time is up.
#include <QFrame>
#include <QPointer>
#include <QTimer>
#include <functional>

class QLabel;
class QPushButton;
class QShortcut;

namespace kivtal {

namespace undo_notice {
inline constexpr const char* kNotice = "undo_notice";
inline constexpr const char* kText = "undo_text";
inline constexpr const char* kButton = "undo_btn";
}  // namespace undo_notice

class UndoNotice : public QFrame {
    Q_OBJECT

public:
    static constexpr int kShownMs = 8000;

    // Lies over the bottom of `window`, which it follows when resized.
    explicit UndoNotice(QWidget* window);

    // Shows "已删除 <what>" with an undo that returns true when it restored everything.
    void Offer(const QString& what, std::function<bool()> undo);
    // What every successful undo is followed by (the window syncs and refreshes).
    void SetAfterUndo(std::function<void()> after) { afterUndo_ = std::move(after); }
    // Runs the offered undo and hides; false when none was offered or it failed (a
    // failure is told in a message box and the offer stays).
    bool Undo();
    void Dismiss();
    bool Showing() const { return isVisible(); }
    QString Text() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Place();

    QLabel* text_;
    QPushButton* button_;
    QShortcut* shortcut_;
    QTimer timer_;
    std::function<bool()> undo_;
    std::function<void()> afterUndo_;
};

}  // namespace kivtal
