#include "Output.h"

#include <memory>

#include "ExitCodes.h"

namespace kivtal::cli {

namespace {

void AppendEscaped(std::string& out, std::string_view text) {
    for (char c : text) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            default: out += c;
        }
    }
}

// Unescaped: the line escapes the whole cell, which its ";" and "|" survive.
std::string ScalarText(const Json::Value& v) {
    if (v.isString()) return v.asString();
    if (v.isIntegral()) return std::to_string(v.asInt64());
    return {};
}

std::string CellText(const Column& column, const Json::Value& cell) {
    if (column.subKeys.empty()) return ScalarText(cell);
    std::string text;
    for (Json::ArrayIndex i = 0; i < cell.size(); ++i) {
        if (i > 0) text += ';';
        for (std::size_t k = 0; k < column.subKeys.size(); ++k) {
            if (k > 0) text += '|';
            text += ScalarText(cell[i][column.subKeys[k]]);
        }
    }
    return text;
}

}  // namespace

OutputOptions OutputOptions::From(const Args& args) { return {args.has("json"), !args.has("no-header")}; }

std::string EscapeField(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    AppendEscaped(out, text);
    return out;
}

void TabLine::separate() {
    if (!first_) line_ += '\t';
    first_ = false;
}

void TabLine::add(std::string_view text) {
    separate();
    AppendEscaped(line_, text);
}

void TabLine::add(long long number) {
    separate();
    line_ += std::to_string(number);
}

void TabLine::writeTo(std::ostream& out) {
    line_ += '\n';
    out.write(line_.data(), static_cast<std::streamsize>(line_.size()));
    line_.clear();
    first_ = true;
}

void PrintTabHeader(const OutputOptions& options, const std::vector<Column>& columns, std::ostream& out) {
    if (!options.header) return;
    TabLine line;
    for (const Column& c : columns) line.add(c.key);
    line.writeTo(out);
}

void Table::print(const OutputOptions& options, std::ostream& out) const {
    if (!options.json) {
        printTabs(options, out);
        return;
    }
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    builder["emitUTF8"] = true;
    const std::unique_ptr<Json::StreamWriter> writer(builder.newStreamWriter());
    writer->write(rows_, &out);
    out << '\n';
}

void Table::printTabs(const OutputOptions& options, std::ostream& out) const {
    PrintTabHeader(options, columns_, out);
    TabLine line;
    for (const Json::Value& row : rows_) {
        for (const Column& column : columns_) line.add(CellText(column, row[column.key]));
        line.writeTo(out);
    }
}

}  // namespace kivtal::cli
