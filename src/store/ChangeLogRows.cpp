#include "store/ChangeLogRows.h"

namespace kivtal::changelog {

SyncRecord EntryFromRow(const ResultTable& t, int row) {
    SyncRecord e;
    e.sync_id = t.integer(row, 0);
    e.oper_code = t.integer(row, 1);
    e.oper_ways = t.integer(row, 2);
    e.s_row_id = t.integer(row, 3);
    e.s_values = t.text(row, 4);
    e.sync_state = t.integer(row, 5);
    e.oper_time = t.integer(row, 6);
    e.s_server_id = t.integer(row, 7);
    e.main_tab = t.integer(row, 8);
    return e;
}

void AppendEntries(const ResultTable& t, std::vector<SyncRecord>& out) {
    out.reserve(out.size() + static_cast<std::size_t>(t.rows()));
    for (int r = 0; r < t.rows(); ++r) out.push_back(EntryFromRow(t, r));
}

}  // namespace kivtal::changelog
