#pragma once
// A picker control as the save checks see it. A missing control is no picker at all,
// so its chain counts as optional.
#include <QComboBox>
#include <QPointer>

#include "text/EditorChecks.h"
#include "text/Picker.h"

namespace kivtal {

class ComboPicker : public Picker {
public:
    // emptyIsChosen: a list left without entries by the choice before it (a city
    // without districts) needs no choice, so the chain can still be completed.
    explicit ComboPicker(const QComboBox* combo = nullptr, bool emptyIsChosen = false)
        : combo_(combo), emptyIsChosen_(emptyIsChosen) {}
    bool hasChoice() const override {
        return combo_ && (combo_->currentIndex() >= 0 || (emptyIsChosen_ && combo_->count() == 0));
    }
    int entryCount() const override { return combo_ ? combo_->count() : 0; }
    bool present() const { return combo_ != nullptr; }

private:
    QPointer<const QComboBox> combo_;
    bool emptyIsChosen_;
};

// The three pickers of a chain, kept alive as long as the chain is used.
struct ComboChain {
    ComboPicker first, second, third;

    PickerChain View() const {
        return PickerChain{first.present() ? &first : nullptr, second.present() ? &second : nullptr,
                           third.present() ? &third : nullptr};
    }
};

}  // namespace kivtal
