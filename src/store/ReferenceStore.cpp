#include "store/ReferenceStore.h"

#include "store/AccountStoreOps.h"

namespace kivtal {

namespace {

constexpr int kTopAreaParent = 1;
constexpr int kTopIndustryParent = 0;
constexpr int kAreaPathMaxRows = 3;

constexpr const char* kAreasUnder = "SELECT id,title,sortid FROM sm_area where pid=? order by sortid;";
constexpr const char* kAreaById = "SELECT id,title,pid,sortid FROM sm_area where id=? ;";
constexpr const char* kTopIndustries =
    "SELECT id,title,sortid FROM sm_industry where pid=? and id!=504 order by sortid;";
constexpr const char* kIndustriesUnder = "SELECT id,title,sortid FROM sm_industry where pid=? order by sortid;";
constexpr const char* kIndustryById = "SELECT id,title,sortid FROM sm_industry where id=?;";
constexpr const char* kPositions = "SELECT id,title,sortid FROM sm_post order by sortid;";

// Industries and positions share the (id, title, sortid) shape.
template <class Record>
Record TitledFromRow(const ResultTable& t, int r) {
    Record rec;
    rec.id = t.integer(r, 0);
    rec.title = t.text(r, 1);
    rec.sortid = t.integer(r, 2);
    return rec;
}

AddressInfo AreaWithParentFromRow(const ResultTable& t, int r) {
    AddressInfo a;
    a.id = t.integer(r, 0);
    a.title = t.text(r, 1);
    a.pid = t.integer(r, 2);
    a.sortid = t.integer(r, 3);
    return a;
}

}  // namespace

int ReferenceStore::Provinces(AddressInfoList& out) { return AreasUnder(kTopAreaParent, out); }

int ReferenceStore::AreasUnder(int parentId, AddressInfoList& out) {
    // The list query does not select pid: every row has the parent asked for.
    auto fromRow = [parentId](const ResultTable& t, int r) {
        AddressInfo a;
        a.id = t.integer(r, 0);
        a.title = t.text(r, 1);
        a.pid = parentId;
        a.sortid = t.integer(r, 2);
        return a;
    };
    return storeops::AppendRowsIn(store_.OpenRefDb(), kAreasUnder, {Arg(parentId)}, out, fromRow);
}

int ReferenceStore::AreaPath(int areaId, AddressInfoList& out) {
    StoreSession session = store_.OpenRefDb();
    if (!session.ok()) return 1;
    AddressInfoList path;
    int next = areaId;
    while (static_cast<int>(path.size()) < kAreaPathMaxRows) {
        AddressInfo area;
        bool found = false;
        if (storeops::ReadFirstRow(session.db(), kAreaById, {Arg(next)}, area, AreaWithParentFromRow, found) != 0) {
            return 1;
        }
        if (!found) break;
        path.push_back(area);
        if (area.pid == kTopAreaParent) break;
        next = area.pid;
    }
    out.insert(out.end(), path.begin(), path.end());
    return 0;
}

int ReferenceStore::TopIndustries(IndustryInfoList& out) {
    return storeops::AppendRowsIn(store_.OpenRefDb(), kTopIndustries, {Arg(kTopIndustryParent)}, out,
                                  TitledFromRow<IndustryInfo>);
}

int ReferenceStore::IndustriesUnder(int parentId, IndustryInfoList& out) {
    return storeops::AppendRowsIn(store_.OpenRefDb(), kIndustriesUnder, {Arg(parentId)}, out,
                                  TitledFromRow<IndustryInfo>);
}

int ReferenceStore::IndustryById(int id, IndustryInfo& out) {
    StoreSession session = store_.OpenRefDb();
    if (!session.ok()) return 1;
    bool found = false;
    return storeops::ReadFirstRow(session.db(), kIndustryById, {Arg(id)}, out, TitledFromRow<IndustryInfo>, found);
}

int ReferenceStore::Positions(PositionInfoList& out) {
    return storeops::AppendRowsIn(store_.OpenRefDb(), kPositions, {}, out, TitledFromRow<PositionInfo>);
}

}  // namespace kivtal
