// Builds the shipped reference database from the tab-separated sources in
// data/refdb at build time:
//
//   make_refdb OUT.db AREA.tsv INDUSTRY.tsv POST.tsv
//
// A source line is either a comment ('#' first) or exactly one field per column,
// separated by single tabs. Anything else — a wrong field count, a number that is
// not a whole 32-bit integer, an empty, padded or non-UTF-8 title, a duplicate id,
// a source without rows — stops the build with "file:line: reason" and exit
// status 1. The database is written to OUT.db.tmp and renamed over OUT.db only
// when complete, so a failed build never leaves a half-filled database behind and
// an earlier good one stays in place.
#include <sqlite3.h>

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

enum class Kind { Int, Text };

struct Column {
  const char* name;
  Kind kind;
};

struct Table {
  const char* name;
  std::vector<Column> columns;
};

// The readers select exactly these columns; ids are the primary key so that a
// duplicate id in a source is refused instead of shadowing the first row.
const std::vector<Column> kTreeColumns{
    {"id", Kind::Int}, {"title", Kind::Text}, {"pid", Kind::Int}, {"sortid", Kind::Int}};
const Table kArea{"sm_area", kTreeColumns};
const Table kIndustry{"sm_industry", kTreeColumns};
const Table kPost{"sm_post", {{"id", Kind::Int}, {"title", Kind::Text}, {"sortid", Kind::Int}}};

struct BuildError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct DbCloser {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct StmtFinalizer {
  void operator()(sqlite3_stmt* st) const { sqlite3_finalize(st); }
};
using Db = std::unique_ptr<sqlite3, DbCloser>;
using Stmt = std::unique_ptr<sqlite3_stmt, StmtFinalizer>;

void exec(sqlite3* db, const std::string& sql) {
  char* msg = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &msg) != SQLITE_OK) {
    std::string why = msg ? msg : "unknown error";
    sqlite3_free(msg);
    throw BuildError(sql + ": " + why);
  }
}

std::string createSql(const Table& t) {
  std::string sql = std::string("CREATE TABLE ") + t.name + "(";
  for (size_t i = 0; i < t.columns.size(); ++i) {
    const Column& c = t.columns[i];
    sql += i ? "," : "";
    sql += c.name;
    sql += c.kind == Kind::Text ? " TEXT NOT NULL" : " INTEGER NOT NULL";
    if (i == 0) sql += " PRIMARY KEY";
  }
  return sql + ");";
}

std::string insertSql(const Table& t) {
  std::string sql = std::string("INSERT INTO ") + t.name + " VALUES(";
  for (size_t i = 0; i < t.columns.size(); ++i) sql += i ? ",?" : "?";
  return sql + ");";
}

bool validUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    int extra = b < 0x80 ? 0 : (b >> 5) == 0x6 ? 1 : (b >> 4) == 0xE ? 2 : (b >> 3) == 0x1E ? 3 : -1;
    if (extra < 0 || s.size() - i <= static_cast<size_t>(extra)) return false;
    uint32_t cp = extra ? b & (0x3F >> extra) : b;
    for (int k = 1; k <= extra; ++k) {
      const auto c = static_cast<unsigned char>(s[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3F);
    }
    static constexpr uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

// Why a title is unfit for a picker, or nullptr when it is fine.
const char* titleFault(std::string_view s) {
  if (s.empty()) return "empty title";
  if (!validUtf8(s)) return "title is not UTF-8";
  for (unsigned char c : s)
    if (c < 0x20 || c == 0x7F) return "control character in title";
  if (s.front() == ' ' || s.back() == ' ') return "title has leading or trailing spaces";
  return nullptr;
}

std::vector<std::string_view> splitTabs(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (size_t tab; (tab = line.find('\t', start)) != std::string_view::npos; start = tab + 1)
    fields.push_back(line.substr(start, tab - start));
  fields.push_back(line.substr(start));
  return fields;
}

bool parseInt32(std::string_view s, int32_t& out) {
  const char* end = s.data() + s.size();
  auto [ptr, ec] = std::from_chars(s.data(), end, out);
  return !s.empty() && ec == std::errc() && ptr == end;
}

class SourceLoader {
public:
  SourceLoader(sqlite3* db, const Table& table, std::string path)
      : db_(db), table_(table), path_(std::move(path)), insert_(prepare()) {}

  void load() {
    std::ifstream in(path_, std::ios::binary);
    if (!in) throw BuildError(path_ + ": cannot open");
    std::string line;
    int rows = 0;
    for (lineNo_ = 1; std::getline(in, line); ++lineNo_) {
      if (!line.empty() && line.front() == '#') continue;
      insertRow(line);
      ++rows;
    }
    if (in.bad()) throw BuildError(path_ + ": read error");
    if (rows == 0) throw BuildError(path_ + ": no rows");
  }

private:
  Stmt prepare() {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, insertSql(table_).c_str(), -1, &st, nullptr) != SQLITE_OK)
      throw BuildError(std::string(table_.name) + ": " + sqlite3_errmsg(db_));
    return Stmt(st);
  }

  [[noreturn]] void fail(const std::string& why) const {
    throw BuildError(path_ + ":" + std::to_string(lineNo_) + ": " + why);
  }

  void bindField(int index, const Column& col, std::string_view field) {
    sqlite3_stmt* st = insert_.get();
    if (col.kind == Kind::Text) {
      if (const char* fault = titleFault(field)) fail(fault);
      sqlite3_bind_text(st, index, field.data(), static_cast<int>(field.size()), SQLITE_TRANSIENT);
      return;
    }
    int32_t value = 0;
    if (!parseInt32(field, value))
      fail(std::string(col.name) + " is not a 32-bit integer: '" + std::string(field) + "'");
    sqlite3_bind_int(st, index, value);
  }

  void insertRow(std::string_view line) {
    if (!line.empty() && line.back() == '\r') fail("CRLF line ending");
    const auto fields = splitTabs(line);
    if (fields.size() != table_.columns.size())
      fail("expected " + std::to_string(table_.columns.size()) + " tab-separated fields, found " +
           std::to_string(fields.size()));
    sqlite3_stmt* st = insert_.get();
    sqlite3_reset(st);
    for (size_t i = 0; i < fields.size(); ++i) bindField(static_cast<int>(i + 1), table_.columns[i], fields[i]);
    if (sqlite3_step(st) != SQLITE_DONE) fail(sqlite3_errmsg(db_));
  }

  sqlite3* db_;
  const Table& table_;
  std::string path_;
  Stmt insert_;
  int lineNo_ = 0;
};

Db openFresh(const std::filesystem::path& file) {
  std::filesystem::remove(file);
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  Db db(raw);
  if (rc != SQLITE_OK) throw BuildError(file.string() + ": " + (raw ? sqlite3_errmsg(raw) : "cannot open"));
  return db;
}

void build(const std::filesystem::path& file, const char* const sources[3]) {
  Db db = openFresh(file);
  // The file is private until renamed, so a rollback journal would only slow the build.
  exec(db.get(), "PRAGMA journal_mode=OFF; BEGIN;");
  const Table* tables[] = {&kArea, &kIndustry, &kPost};
  for (int i = 0; i < 3; ++i) {
    exec(db.get(), createSql(*tables[i]));
    SourceLoader(db.get(), *tables[i], sources[i]).load();
  }
  // The readers list children of one parent in display order.
  exec(db.get(),
       "CREATE INDEX sm_area_pid ON sm_area(pid,sortid);"
       "CREATE INDEX sm_industry_pid ON sm_industry(pid,sortid);"
       "COMMIT;");
  if (sqlite3_close(db.release()) != SQLITE_OK) throw BuildError(file.string() + ": close failed");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: " << argv[0] << " OUT.db AREA.tsv INDUSTRY.tsv POST.tsv\n";
    return 2;
  }
  const std::filesystem::path out = argv[1];
  const std::filesystem::path tmp = out.string() + ".tmp";
  try {
    build(tmp, argv + 2);
    std::filesystem::rename(tmp, out);
  } catch (const std::exception& e) {
    std::cerr << argv[0] << ": " << e.what() << "\n";
    std::error_code ignored;
    std::filesystem::remove(tmp, ignored);
    return 1;
  }
  return 0;
}
