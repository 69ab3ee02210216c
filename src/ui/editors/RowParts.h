#pragma once
// The parts every generated list line is made of, so all lists look and read alike.
#include <QString>

class QBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace kivtal {

class FindEdit;

inline constexpr int kLineHeight = 40;

struct FieldSpec {
    QString name;         // layout name of the field
    QString defaultText;  // shown in grey while nothing is typed
    int maxLength = 20;
    bool contactPicker = false;  // completes the names of the user's contacts
};

// A fixed-height line with its own horizontal layout.
QWidget* MakeLine(QWidget* parent);
QLabel* AddLineLabel(QWidget* line, const QString& text);
FindEdit* AddLineField(QWidget* line, const FieldSpec& spec, const QString& text);
// A delete button carrying the index of what it deletes.
QPushButton* AddDeleteButton(QWidget* line, const QString& name, const QString& what, int index);
// The index a delete button carries, -1 for any other control.
int DeleteIndex(const QWidget* button);

// Detaches and schedules the deletion of every line in the container: a line may hold
// the button whose click is being handled.
void ClearLines(QWidget* container);
// Appends a line and fixes the container's height to 40 pixels per line.
void AppendLine(QWidget* container, QWidget* line);

}  // namespace kivtal
