#pragma once
// Builds windows from the layouts of the compiled skin. Layouts are Qt Designer UI
// files kept under the names the windows ask for ("TalMessageBox.xml"); custom
// controls are created by their class name.
#include <QString>
#include <QUiLoader>
#include <functional>

namespace kivtal {

class WindowImplBase;

using ControlFactory = std::function<QWidget*(QWidget* parent)>;

// The program's icon in the skin: every window, the task bar and the tray show it, and
// the installed launcher carries it as "kivtal".
inline const QString kSkinIconFile = QStringLiteral(":/skin/images/tray_icon.png");
inline const QString kDesktopEntryName = QStringLiteral("kivtal");

// Makes the skin's resources and its icon available (PrepareWindows adds the custom
// controls). Call once on the UI thread, after the application object exists and before
// the first window is created; later calls do nothing.
void LoadSkin();

// The skin's shared style sheet, applied to every window.
const QString& SkinStyleSheet();

// Registers a custom control class for every layout (a later registration replaces an
// earlier one). UI thread only.
void RegisterControlClass(const QString& className, ControlFactory factory);

// QUiLoader's constructor loads every Designer plugin on the library paths (one of them
// brings the whole QML engine along, a third of the start of the program) although no
// layout of the skin uses one; SkinLoader holds the paths empty while it is built.
class WithoutDesignerPlugins {
protected:
    WithoutDesignerPlugins();
    // Puts the paths back once the loader is built.
    void RestorePaths();

private:
    QStringList paths_;
};

class SkinLoader : private WithoutDesignerPlugins, public QUiLoader {
public:
    // window may be null; when set, its CreateControl hook is asked first.
    explicit SkinLoader(WindowImplBase* window);

    // The layout's root widget, created as a child of parent; nullptr when the layout is
    // missing or malformed (errorString() says why).
    QWidget* LoadLayout(const QString& fileName, QWidget* parent);

    QWidget* createWidget(const QString& className, QWidget* parent, const QString& name) override;

private:
    WindowImplBase* window_;
};

}  // namespace kivtal
