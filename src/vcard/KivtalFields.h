#pragma once
// The contact fields no vCard property holds, carried as "X-KIVTAL-..." properties so
// that an exported address book reads back without loss. Other programs keep or drop
// them as they like; the names must never change, or old exports stop reading back.
#include <iterator>
#include <string>

#include "model/Records.h"

namespace kivtal::vcard {

struct KivtalText {
    const char* property;
    std::string BusinessCard::*member;
};

struct KivtalNumber {
    const char* property;
    int BusinessCard::*member;
};

inline constexpr KivtalText kKivtalTexts[] = {
    {"X-KIVTAL-WW", &BusinessCard::ww},
    {"X-KIVTAL-RELATIONS", &BusinessCard::relate_contacts},
    {"X-KIVTAL-MAIN-BUSINESS", &BusinessCard::main_business},
    {"X-KIVTAL-HOBBY", &BusinessCard::hobby},
    {"X-KIVTAL-BELIEF", &BusinessCard::belief},
    {"X-KIVTAL-HABIT", &BusinessCard::habit},
    {"X-KIVTAL-HOW-TO-KNOW", &BusinessCard::how_to_konw},
    {"X-KIVTAL-FAVOR-FOOD", &BusinessCard::favor_food},
};

// Written only when they differ from a new contact's value.
inline constexpr KivtalNumber kKivtalNumbers[] = {
    {"X-KIVTAL-TITLE", &BusinessCard::title},
    {"X-KIVTAL-COMPLETE", &BusinessCard::complete},
    {"X-KIVTAL-MAIN-TAB", &BusinessCard::main_tab},
    {"X-KIVTAL-COMMON", &BusinessCard::common_use},
    {"X-KIVTAL-JOB-CATEGORY", &BusinessCard::job_category_id},
    {"X-KIVTAL-INDUSTRY", &BusinessCard::business_id},
};

// A lunar birthday goes here instead of BDAY, which other programs read as solar.
inline constexpr const char* kLunarBirthday = "X-KIVTAL-LUNAR-BIRTHDAY";
// One bank account: bank;branch;subbranch;card number;holder.
inline constexpr const char* kBankAccount = "X-KIVTAL-BANK";

// What an imported contact starts as (the contact editor gives every new contact
// main_tab 1).
inline BusinessCard NewImportedContact() {
    BusinessCard card;
    card.main_tab = 1;
    return card;
}

}  // namespace kivtal::vcard
