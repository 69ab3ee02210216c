#include "ui/main/PanePart.h"

#include "ui/toolkit/WindowImplBase.h"

namespace kivtal {

PanePart::PanePart(const WindowImplBase& window, std::span<const LayoutControl> roots) {
    for (const LayoutControl& root : roots) roots_.emplace_back(window.FindControl(root));
}

QWidget* PanePart::Find(const QString& name) const {
    if (name.isEmpty()) return nullptr;
    for (const QPointer<QWidget>& root : roots_) {
        if (!root) continue;
        if (root->objectName() == name) return root;
        if (auto* control = root->findChild<QWidget*>(name)) return control;
    }
    return nullptr;
}

void PanePart::ShowSide(bool shown) const {
    if (QWidget* side = Side()) side->setVisible(shown);
}

}  // namespace kivtal
