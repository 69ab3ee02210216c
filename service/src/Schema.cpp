#include "Schema.h"

namespace kivtal::service {

// changes is keyed by (account, seq): a receive is one range scan of that key; the
// resend check looks a record's own changes up by changes_by_record, never the feed.
// client_ids remembers which server record each device's local row became, so a
// parent added in the same or an earlier batch can be named by its local id.
// device_positions keeps how far each device said it had received when it last asked.
void CreateSchema(Database& db) {
    db.exec("PRAGMA journal_mode=WAL;");
    db.exec(R"sql(
CREATE TABLE IF NOT EXISTS accounts(
  account_id INTEGER PRIMARY KEY AUTOINCREMENT,
  login_name TEXT NOT NULL UNIQUE,
  pwd_hash TEXT NOT NULL,
  coins INTEGER NOT NULL DEFAULT 0,
  certified INTEGER NOT NULL DEFAULT 0,
  real_name TEXT NOT NULL DEFAULT '',
  last_seq INTEGER NOT NULL DEFAULT 0,
  upload_count INTEGER NOT NULL DEFAULT 0,
  created INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS devices(
  account_id INTEGER NOT NULL,
  unique_id TEXT NOT NULL,
  random_key TEXT,
  watermark INTEGER NOT NULL DEFAULT 0,
  PRIMARY KEY(account_id, unique_id));
CREATE TABLE IF NOT EXISTS records(
  server_id INTEGER PRIMARY KEY AUTOINCREMENT,
  account_id INTEGER NOT NULL,
  kind INTEGER NOT NULL,
  value TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS records_by_kind ON records(account_id, kind);
CREATE TABLE IF NOT EXISTS changes(
  account_id INTEGER NOT NULL,
  seq INTEGER NOT NULL,
  kind INTEGER NOT NULL,
  ways INTEGER NOT NULL,
  main INTEGER NOT NULL,
  server_id INTEGER NOT NULL,
  content TEXT NOT NULL,
  device TEXT NOT NULL,
  time INTEGER NOT NULL,
  PRIMARY KEY(account_id, seq)) WITHOUT ROWID;
CREATE INDEX IF NOT EXISTS changes_by_record ON changes(account_id, server_id, seq);
CREATE TABLE IF NOT EXISTS client_ids(
  account_id INTEGER NOT NULL,
  unique_id TEXT NOT NULL,
  kind INTEGER NOT NULL,
  client_id INTEGER NOT NULL,
  server_id INTEGER NOT NULL,
  PRIMARY KEY(account_id, unique_id, kind, client_id)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS device_positions(
  account_id INTEGER NOT NULL,
  unique_id TEXT NOT NULL,
  position INTEGER NOT NULL,
  PRIMARY KEY(account_id, unique_id)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS uploads(
  upload_id INTEGER PRIMARY KEY AUTOINCREMENT,
  account_id INTEGER NOT NULL,
  file TEXT NOT NULL,
  time INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS news(
  news_id INTEGER PRIMARY KEY AUTOINCREMENT,
  title TEXT NOT NULL,
  content TEXT NOT NULL,
  create_time INTEGER NOT NULL,
  type INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS ads(
  ad_id INTEGER PRIMARY KEY AUTOINCREMENT,
  picture TEXT NOT NULL,
  sort_id INTEGER NOT NULL,
  jump_url TEXT NOT NULL,
  content TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS version_offer(
  id INTEGER PRIMARY KEY CHECK(id = 1),
  new_ver INTEGER NOT NULL,
  name TEXT NOT NULL,
  description TEXT NOT NULL,
  download TEXT NOT NULL,
  enforce INTEGER NOT NULL,
  file_md5 TEXT NOT NULL);
)sql");
}

}  // namespace kivtal::service
