#pragma once
// The read-only reference lists shipped with the program: areas (a tree whose top
// level hangs under pid 1), industries (top level under pid 0) and job positions.
#include "model/Records.h"
#include "store/LocalStore.h"

namespace kivtal {

class ReferenceStore {
public:
    explicit ReferenceStore(LocalStore& store) : store_(store) {}

    // Every list is appended to `out` in the query's order. 0, or 1 when the reference
    // database is missing or unreadable or the query fails; `out` then gains nothing.

    int Provinces(AddressInfoList& out);
    int AreasUnder(int parentId, AddressInfoList& out);
    // The area first, then its parent and grandparent: parents are followed while the
    // last pid read is not the top marker 1, at most three rows in all. An unknown id
    // appends nothing and still returns 0.
    int AreaPath(int areaId, AddressInfoList& out);

    // The top-level industries, without the catch-all industry 504.
    int TopIndustries(IndustryInfoList& out);
    int IndustriesUnder(int parentId, IndustryInfoList& out);
    // `out` is left untouched when there is no such industry (still 0).
    int IndustryById(int id, IndustryInfo& out);

    int Positions(PositionInfoList& out);

private:
    LocalStore& store_;
};

}  // namespace kivtal
