#include "ui/editors/AreaPickers.h"

#include "store/ReferenceStore.h"
#include "ui/controls/ComboKiv.h"
#include "ui/editors/PickerFill.h"

namespace kivtal {
namespace {

constexpr int kTopParent = 1;

bool Chosen(const ComboKiv* picker) { return picker && picker->currentIndex() >= 0; }

}  // namespace

AreaPickers::AreaPickers(LocalStore& store, ComboKiv* country, ComboKiv* province, ComboKiv* area)
    : store_(store), country_(country), province_(province), area_(area) {}

void AreaPickers::Setup() {
    FillChildren(country_, kTopParent);
    EmptyPicker(province_);
    EmptyPicker(area_);
}

void AreaPickers::FillChildren(ComboKiv* picker, int parentId) {
    AddressInfoList areas;
    ReferenceStore(store_).AreasUnder(parentId, areas);
    PickerEntries entries;
    for (const AddressInfo& a : areas) entries.emplace_back(QString::fromStdString(a.title), a.id);
    FillPicker(picker, entries);
}

bool AreaPickers::OnPicked(const ComboKiv* picker) {
    if (!picker) return false;
    if (picker == country_) {
        EmptyPicker(area_);
        if (Chosen(country_)) FillChildren(province_, country_->GetSelection());
        else EmptyPicker(province_);
    } else if (picker == province_) {
        if (Chosen(province_)) FillChildren(area_, province_->GetSelection());
        else EmptyPicker(area_);
    } else {
        return picker == area_;
    }
    return true;
}

void AreaPickers::SetAreaId(int id) {
    AddressInfoList path;  // the area first, then its parents
    ReferenceStore(store_).AreaPath(id, path);
    if (path.empty()) return;
    std::vector<int> ids;  // top level first
    for (auto it = path.rbegin(); it != path.rend(); ++it) ids.push_back(it->id);
    ChooseValue(country_, ids[0]);
    if (ids.size() < 2 || !Chosen(country_)) return;
    FillChildren(province_, ids[0]);
    ChooseValue(province_, ids[1]);
    if (ids.size() < 3 || !Chosen(province_)) return;
    FillChildren(area_, ids[1]);
    ChooseValue(area_, ids[2]);
}

int AreaPickers::AreaId() const {
    if (Chosen(area_)) return area_->GetSelection();
    if (Chosen(province_)) return province_->GetSelection();
    return -1;
}

QString AreaPickers::ChosenNames() const {
    QString names;
    for (const ComboKiv* picker : {country_, province_, area_})
        if (Chosen(picker)) names += picker->currentText();
    return names;
}

QString AreaPickers::WithAreaAtHead(const QString& address) const {
    const QString names = ChosenNames();
    return address.startsWith(names) ? address : names + address;
}

ComboChain AreaPickers::Chain() const {
    return ComboChain{ComboPicker(country_), ComboPicker(province_, true), ComboPicker(area_, true)};
}

}  // namespace kivtal
