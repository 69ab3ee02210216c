#include "ui/editors/RowParts.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVariant>

#include "ui/controls/EditorPickers.h"

namespace kivtal {
namespace {

constexpr const char* kIndexProperty = "entryIndex";
constexpr int kLabelWidth = 76;

QBoxLayout* LineLayout(QWidget* line) { return static_cast<QBoxLayout*>(line->layout()); }

QBoxLayout* ContainerLayout(QWidget* container) {
    if (auto* layout = qobject_cast<QBoxLayout*>(container->layout())) return layout;
    auto* layout = new QVBoxLayout(container);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

int LineCount(QWidget* container) {
    return static_cast<int>(container->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size());
}

}  // namespace

QWidget* MakeLine(QWidget* parent) {
    auto* line = new QWidget(parent);
    line->setFixedHeight(kLineHeight);
    auto* layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 4, 0, 4);
    layout->setSpacing(6);
    return line;
}

QLabel* AddLineLabel(QWidget* line, const QString& text) {
    auto* label = new QLabel(text, line);
    label->setFixedWidth(kLabelWidth);
    LineLayout(line)->addWidget(label);
    return label;
}

FindEdit* AddLineField(QWidget* line, const FieldSpec& spec, const QString& text) {
    FindEdit* field = spec.contactPicker ? new SelectCombo(line) : new FindEdit(line);
    field->setObjectName(spec.name);
    field->setProperty("skinRole", QStringLiteral("field"));
    field->SetDefaultText(spec.defaultText);
    field->SetMaxLength(spec.maxLength);
    field->SetText(text);
    field->setAccessibleName(spec.defaultText);
    field->Edit()->setAccessibleName(spec.defaultText);
    LineLayout(line)->addWidget(field, 1);
    return field;
}

QPushButton* AddDeleteButton(QWidget* line, const QString& name, const QString& what, int index) {
    auto* button = new QPushButton(QStringLiteral("×"), line);
    button->setObjectName(name);
    button->setProperty(kIndexProperty, index);
    button->setProperty("skinRole", QStringLiteral("delete"));
    button->setToolTip(QStringLiteral("删除") + what);
    button->setAccessibleName(QStringLiteral("删除") + what);
    button->setFixedSize(28, 28);
    // A hidden button keeps its place, so a single line lines up with the others.
    QSizePolicy policy = button->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    button->setSizePolicy(policy);
    button->setCursor(Qt::PointingHandCursor);
    LineLayout(line)->addWidget(button);
    return button;
}

int DeleteIndex(const QWidget* button) {
    const QVariant index = button ? button->property(kIndexProperty) : QVariant();
    return index.isValid() ? index.toInt() : -1;
}

void ClearLines(QWidget* container) {
    QBoxLayout* layout = ContainerLayout(container);
    for (QWidget* line : container->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        layout->removeWidget(line);
        line->hide();
        line->setParent(nullptr);
        line->deleteLater();
    }
    container->setFixedHeight(0);
}

void AppendLine(QWidget* container, QWidget* line) {
    ContainerLayout(container)->addWidget(line);
    container->setFixedHeight(kLineHeight * LineCount(container));
    line->show();
}

}  // namespace kivtal
