#include "ui/editors/ReferencePickers.h"

#include "store/ReferenceStore.h"
#include "ui/controls/EditorPickers.h"
#include "ui/editors/PickerFill.h"

namespace kivtal {

void SetupIndustryPicker(LocalStore& store, TradeCombo* picker) {
    if (!picker) return;
    picker->setPlaceholderText(QStringLiteral("不限"));
    picker->SetLoader([&store](TradeCombo& combo) {
        ReferenceStore reference(store);
        IndustryInfoList top;
        reference.TopIndustries(top);
        PickerEntries industries;
        for (const IndustryInfo& t : top) {
            IndustryInfoList children;
            reference.IndustriesUnder(t.id, children);
            for (const IndustryInfo& c : children)
                industries.emplace_back(QString::fromStdString(t.title + " - " + c.title), c.id);
        }
        FillPicker(&combo, industries);
    });
}

void ShowIndustry(LocalStore& store, TradeCombo* picker, int industryId) {
    if (!picker) return;
    IndustryInfo industry;
    if (industryId != 0) ReferenceStore(store).IndustryById(industryId, industry);
    picker->SetTag(industryId, industryId != 0 ? QString::fromStdString(industry.title) : QStringLiteral("不限"));
}

void FillJobPicker(LocalStore& store, ComboKiv* picker) {
    PositionInfoList positions;
    ReferenceStore(store).Positions(positions);
    PickerEntries entries;
    for (const PositionInfo& p : positions) entries.emplace_back(QString::fromStdString(p.title), p.id);
    FillPicker(picker, entries);
    if (picker) picker->setPlaceholderText(QStringLiteral("不限"));
}

}  // namespace kivtal
