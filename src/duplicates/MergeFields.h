#pragma once
// The fields of a contact a merge chooses one by one: which contact's value the kept
// contact takes for each. A field's text is how it is compared and shown; empty when
// the contact has no value for it.
#include <span>
#include <string>

#include "model/Records.h"

namespace kivtal::duplicates {

struct MergeField {
    const char* key;    // the command line's and the JSON's name
    const char* label;  // the window's
    std::string (*text)(const BusinessCard&);
    void (*copy)(const BusinessCard& from, BusinessCard& to);
};

// Every chosen field, in the editor's order; the group last but one, the comment last.
std::span<const MergeField> MergeFields();

// The index of the group field in MergeFields(): its default is the kept contact's.
std::size_t GroupFieldIndex();

}  // namespace kivtal::duplicates
