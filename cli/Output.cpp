#include "Output.h"

#include <memory>

#include "ExitCodes.h"

namespace kivtal::cli {

namespace {

std::string ScalarText(const Json::Value& v) {
    if (v.isString()) return EscapeField(v.asString());
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
    for (char c : text) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            default: out += c;
        }
    }
    return out;
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
    if (options.header) {
        for (std::size_t c = 0; c < columns_.size(); ++c) out << (c > 0 ? "\t" : "") << columns_[c].key;
        out << '\n';
    }
    for (const Json::Value& row : rows_) {
        for (std::size_t c = 0; c < columns_.size(); ++c)
            out << (c > 0 ? "\t" : "") << CellText(columns_[c], row[columns_[c].key]);
        out << '\n';
    }
}

}  // namespace kivtal::cli
