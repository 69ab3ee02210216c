#include "ui/toolkit/SkinLoader.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <map>

#include "ui/toolkit/WindowImplBase.h"

// Resources are initialised from the global namespace, as Qt's macro requires.
static void InitSkinResources() { Q_INIT_RESOURCE(skin); }

namespace kivtal {
namespace {

std::map<QString, ControlFactory>& Factories() {
    static std::map<QString, ControlFactory> factories;
    return factories;
}

QString LayoutPath(const QString& fileName) { return QStringLiteral(":/skin/") + fileName; }

QString ReadStyleSheet() {
    QFile file(QStringLiteral(":/skin/style.qss"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

QString& StyleSheetStore() {
    static QString sheet;
    return sheet;
}

}  // namespace

void LoadSkin() {
    static bool loaded = false;
    if (loaded) return;
    loaded = true;
    InitSkinResources();
    StyleSheetStore() = ReadStyleSheet();
    QApplication::setWindowIcon(QIcon(kSkinIconFile));
    // Lets the desktop match the windows to the installed launcher and its icon.
    QGuiApplication::setDesktopFileName(kDesktopEntryName);
}

const QString& SkinStyleSheet() { return StyleSheetStore(); }

void RegisterControlClass(const QString& className, ControlFactory factory) {
    Factories()[className] = std::move(factory);
}

WithoutDesignerPlugins::WithoutDesignerPlugins() : paths_(QCoreApplication::libraryPaths()) {
    QCoreApplication::setLibraryPaths({});
}

// The plugin loaders skip paths they have already scanned, so putting them back costs
// nothing and every other kind of plugin (image formats, platform) is found as before.
void WithoutDesignerPlugins::RestorePaths() { QCoreApplication::setLibraryPaths(paths_); }

SkinLoader::SkinLoader(WindowImplBase* window) : window_(window) { RestorePaths(); }

QWidget* SkinLoader::LoadLayout(const QString& fileName, QWidget* parent) {
    QFile file(LayoutPath(fileName));
    if (!file.open(QIODevice::ReadOnly)) return nullptr;
    return load(&file, parent);
}

QWidget* SkinLoader::createWidget(const QString& className, QWidget* parent, const QString& name) {
    QWidget* widget = window_ ? window_->CreateControl(className, parent) : nullptr;
    if (!widget) {
        const auto it = Factories().find(className);
        if (it != Factories().end()) widget = it->second(parent);
    }
    if (!widget) return QUiLoader::createWidget(className, parent, name);
    widget->setObjectName(name);
    return widget;
}

}  // namespace kivtal
