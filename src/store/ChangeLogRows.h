#pragma once
// Reading change-log rows, shared by the logging helpers and the public operations.
// Internal to the store.
#include <vector>

#include "model/Records.h"
#include "store/SqliteDb.h"

namespace kivtal::changelog {

// The column list every read of tb_sync_record / tb_sync_record_tmp selects, so that
// EntryFromRow can rely on its order.
inline constexpr const char* kEntryColumns =
    "sync_id,oper_code,oper_ways,s_row_id,s_values,sync_state,oper_time,s_server_id,main_tab";

SyncRecord EntryFromRow(const ResultTable& t, int row);
void AppendEntries(const ResultTable& t, std::vector<SyncRecord>& out);

}  // namespace kivtal::changelog
