#include "ui/controls/EditorPickers.h"

#include <QCompleter>
#include <QEvent>
#include <QSignalBlocker>
#include <QLineEdit>
#include <QStringListModel>

namespace kivtal {
namespace {

struct NameCache {
    SelectCombo::NameSource source;
    bool filled = false;
    QStringListModel* model = nullptr;  // lives as long as the program
};

NameCache& Names() {
    static NameCache cache;
    if (!cache.model) cache.model = new QStringListModel();
    return cache;
}

class CompleteOnFocus : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            NameCache& cache = Names();
            if (!cache.filled && cache.source) {
                cache.model->setStringList(cache.source());
                cache.filled = true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

TradeCombo::TradeCombo(QWidget* parent) : ComboKiv(parent) {
    connect(this, &QComboBox::activated, this, [this](int) { tag_ = GetSelection() < 0 ? 0 : GetSelection(); });
}

void TradeCombo::SetTag(int id, const QString& name) {
    const QSignalBlocker quiet(this);
    tag_ = id;
    int index = findData(id);
    // Until the list is loaded, the chosen industry is its only entry.
    if (index < 0 && id != 0) {
        addItem(name, id);
        index = count() - 1;
    }
    setCurrentIndex(index);
}

void TradeCombo::EnsureLoaded() {
    if (loaded_ || !loader_) return;
    loaded_ = true;
    const int tag = tag_;
    const QString shown = currentText();
    loader_(*this);
    SetTag(tag, shown);
}

void TradeCombo::showPopup() {
    EnsureLoaded();
    ComboKiv::showPopup();
}

SelectCombo::SelectCombo(QWidget* parent) : FindEdit(parent) {
    auto* completer = new QCompleter(Names().model, this);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchContains);
    Edit()->setCompleter(completer);
    Edit()->installEventFilter(new CompleteOnFocus(this));
}

void SelectCombo::SetNameSource(NameSource source) {
    Names().source = std::move(source);
    ResetNames();
}

void SelectCombo::ResetNames() {
    Names().filled = false;
    Names().model->setStringList({});
}

}  // namespace kivtal
