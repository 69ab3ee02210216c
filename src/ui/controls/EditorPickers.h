#pragma once
// The pickers of the editors: the group picker, the industry picker whose tag holds
// the chosen industry id, and the contact field of a relation line, which offers the
// user's contact names as they are typed.
#include <QStringList>
#include <functional>

#include "ui/controls/ComboKiv.h"
#include "ui/controls/FindEdit.h"

class QStringListModel;

namespace kivtal {

class GroupCombo : public ComboKiv {
    Q_OBJECT

public:
    using ComboKiv::ComboKiv;
};

class TradeCombo : public ComboKiv {
    Q_OBJECT

public:
    using Loader = std::function<void(TradeCombo&)>;

    explicit TradeCombo(QWidget* parent = nullptr);

    // The chosen industry id; 0 for none.
    int Tag() const { return tag_; }
    // Shows the industry with that name as chosen, whether or not it is listed yet.
    void SetTag(int id, const QString& name);
    // Fills the entries the first time the list is opened.
    void SetLoader(Loader loader) { loader_ = std::move(loader); }
    void EnsureLoaded();

    void showPopup() override;

private:
    Loader loader_;
    bool loaded_ = false;
    int tag_ = 0;
};

// A text field that completes the names of the user's contacts; the names are asked
// for the first time the field is edited, so opening an editor costs nothing.
class SelectCombo : public FindEdit {
    Q_OBJECT

public:
    using NameSource = std::function<QStringList()>;

    explicit SelectCombo(QWidget* parent = nullptr);
    // Every SelectCombo of the process shares the source and the names it gave.
    static void SetNameSource(NameSource source);
    // Forget the names, so the next edit asks again (the contacts changed).
    static void ResetNames();
};

}  // namespace kivtal
