#pragma once
// One description per kind of record: every stored field in its table's column order,
// the local key first, each with its column, its member, the name the value string,
// the command line and the clash lists give it, and how the sync merge treats it.
// The store's column lists and row readers, the value strings (RecordValues.h), the
// merge (FieldMerge.h) and the separator rule are all made from these tables, so a
// field is added in one place.
//
// The value string of a kind is its fields with a name, in table order: the orders
// are shared with the service and with stored files, so no field moves.
#include <span>
#include <string>

#include "model/Records.h"

namespace kivtal {

// How the sync merge treats a field of a value string.
enum class FieldRole {
    kValue,  // something the user edits: merged field by field
    kKey,    // an id or bookkeeping of this device or the service: never merged, kept as this device has it
    kState,  // the deleted flag (0 live, 1 deleted): a delete against an edit keeps the edit
};

template <class R>
struct RecordField {
    const char* column;  // in the record's table
    int R::*number;      // exactly one of number and text is set
    std::string R::*text;
    // In the value string under this name; nullptr for a field that stays on this
    // device (a contact's name pinyin, a reminder's ids of people).
    const char* name;
    FieldRole role;

    bool travels() const { return name != nullptr; }
};

template <class R>
struct RecordDescription {
    const char* table;
    std::span<const RecordField<R>> fields;  // fields[0] is the local key
};

template <class R>
const RecordDescription<R>& DescriptionOf();

}  // namespace kivtal
