#pragma once
// The checks both editors run when the user saves: the field rules in a fixed order,
// then the two picker chains. The first failure stops the sequence.
#include <string>
#include <vector>

#include "text/FieldRules.h"
#include "text/Picker.h"

namespace kivtal {

// Three pickers where a choice in the first asks for a choice in the other two. A
// null pointer stands for a picker missing from the layout.
struct PickerChain {
    const Picker* first = nullptr;
    const Picker* second = nullptr;
    const Picker* third = nullptr;
};

// country_combo, province_combo, area_combo.
RuleResult CheckAreaChain(const PickerChain& chain, Editor editor);
// combo_year, combo_month, combo_day.
RuleResult CheckBirthdayChain(const PickerChain& chain, Editor editor);

struct ContactForm {
    std::u16string name;                       // base_name_edit
    std::u16string mobile;                     // base_phone_edit
    std::u16string qq;                         // base_qq_edit
    std::u16string email;                      // base_email_edit
    std::u16string fax;                        // business_fax_edit
    std::u16string officePhone;                // business_fix_phone
    std::u16string homePhone;                  // life_phone
    std::vector<std::u16string> relatedNames;  // edt_user of every relation row
    PickerChain area;
    PickerChain birthday;
};

struct ProfileForm {
    std::u16string name;       // user_name_edit
    std::u16string mobile;     // user_phone
    std::u16string email;      // email_edit
    std::u16string fax;        // fax_phone
    std::u16string homePhone;  // home_phone
    PickerChain area;
    PickerChain birthday;
};

struct SaveCheck {
    bool passed = true;
    std::string field;                  // control of the first failure, to focus
    std::vector<RuleMessage> messages;  // shown one after another
};

// Also rejects an empty name or mobile number, adding the mandatory-field message
// after whatever the failing check showed.
SaveCheck CheckContactSave(const ContactForm& form);
SaveCheck CheckProfileSave(const ProfileForm& form);

}  // namespace kivtal
