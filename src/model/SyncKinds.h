#pragma once
// Codes of the change log: which kind of record an entry is about (oper_code), how the
// row changed (oper_ways) and where the entry stands in the upload (sync_state). The
// numbers are shared with the service and stored in the user database.

namespace kivtal {

enum OperCode : int {
    OPER_CONTACT = 1,        // BusinessCard, tb_bc
    OPER_MATTER = 2,         // TalEvent, tb_event
    OPER_USER = 3,           // UserInfo, tb_user
    OPER_REMARK = 4,         // EventComment, tb_event_comment
    OPER_REMINDER = 5,       // EventAlarm, tb_event_alarm
    OPER_CONTACT_GROUP = 6,  // CardGroup, tb_bc_group
    OPER_MATTER_GROUP = 7,   // EventGroup, tb_event_group
    OPER_SETTINGS = 8,       // UserSettings, tb_user_settings
    OPER_BANK_ACCOUNT = 9,   // UserBankInfo, tb_ubank_info
};

enum OperWays : int {
    WAY_ADD = 1,     // row created locally
    WAY_MODIFY = 2,  // row changed; a delete is a modify carrying state 1
};

enum SyncState : int {
    SYNC_PENDING = 0,   // to be uploaded by the next sync run
    SYNC_DEFERRED = 1,  // changed while its entry was being sent; kept in tb_sync_record_tmp
    SYNC_SENDING = 2,
    SYNC_DONE = 3,     // acknowledged; the row has its server id
    SYNC_REFUSED = 4,  // the service refused it; kept out of uploads until retried or edited
};

}  // namespace kivtal
