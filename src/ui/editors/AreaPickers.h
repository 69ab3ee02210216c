#pragma once
// The three area pickers (top level, second level, third level) filled from the
// reference database: a pick lists the children of the chosen area in the next one.
#include <QString>

#include "store/LocalStore.h"
#include "ui/editors/ComboPicker.h"

namespace kivtal {

class ComboKiv;

class AreaPickers {
public:
    AreaPickers(LocalStore& store, ComboKiv* country, ComboKiv* province, ComboKiv* area);

    // The top-level areas, nothing chosen.
    void Setup();
    bool OnPicked(const ComboKiv* picker);

    // Chooses the chain of a stored id: three levels choose all three, two choose the
    // top level and the province, one the top level only.
    void SetAreaId(int id);
    // The area's id, else the province's, else -1.
    int AreaId() const;
    // The names of the chosen areas, joined without separator ("北京市朝阳区").
    QString ChosenNames() const;
    // address with the chosen area's names in front, unless it already starts with
    // them: the pickers have no field of their own in the record.
    QString WithAreaAtHead(const QString& address) const;

    // A level left without entries by the level above counts as chosen.
    ComboChain Chain() const;

private:
    void FillChildren(ComboKiv* picker, int parentId);

    LocalStore& store_;
    ComboKiv* country_;
    ComboKiv* province_;
    ComboKiv* area_;
};

}  // namespace kivtal
