#pragma once
// Records printed for scripts: one record per line with tab-separated fields under a
// header line, or one JSON array of objects (UTF-8, not escaped) with --json.
#include <iostream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include <json/json.h>

#include "CliArgs.h"

namespace kivtal::cli {

struct OutputOptions {
    bool json = false;
    bool header = true;

    static OutputOptions From(const Args& args);
};

// A column of the tab-separated form. A column with sub-keys holds an array of objects:
// each object prints as its sub-key values joined by "|", the objects joined by ";".
struct Column {
    std::string key;
    std::vector<std::string> subKeys = {};
};

class Table {
public:
    explicit Table(std::vector<Column> columns) : columns_(std::move(columns)) {}

    // `row` is a JSON object holding (at least) the columns' keys.
    void add(Json::Value row) { rows_.append(std::move(row)); }
    void print(const OutputOptions& options, std::ostream& out) const;

private:
    void printTabs(const OutputOptions& options, std::ostream& out) const;

    std::vector<Column> columns_;
    Json::Value rows_{Json::arrayValue};
};

// One line of the tab-separated form, built field by field (texts through EscapeField).
class TabLine {
public:
    void add(std::string_view text);
    void add(long long number);
    // The line with its line feed, and empty again for the next.
    void writeTo(std::ostream& out);

private:
    void separate();

    std::string line_;
    bool first_ = true;
};

// The header line of the tab-separated form, unless options leave it out.
void PrintTabHeader(const OutputOptions& options, const std::vector<Column>& columns, std::ostream& out);

// Prints one row per record, `toJson` turning a record into its row, on standard output.
template <typename Record, typename ToJson>
void PrintRecords(const OutputOptions& options, std::vector<Column> columns, const std::vector<Record>& records,
                  ToJson toJson) {
    Table table(std::move(columns));
    for (const Record& r : records) table.add(toJson(r));
    table.print(options, std::cout);
}

// A field for the tab-separated form: backslash, tab, line feed and carriage return
// become \\, \t, \n and \r, so that a record always stays on its one line.
std::string EscapeField(const std::string& text);

}  // namespace kivtal::cli
