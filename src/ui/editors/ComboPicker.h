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
    explicit ComboPicker(const QComboBox* combo = nullptr) : combo_(combo) {}
    bool hasChoice() const override { return combo_ && combo_->currentIndex() >= 0; }
    int entryCount() const override { return combo_ ? combo_->count() : 0; }
    bool present() const { return combo_ != nullptr; }

private:
    QPointer<const QComboBox> combo_;
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
