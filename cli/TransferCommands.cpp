// contacts import|export: vCard files in and out, CSV out.
#include <iostream>

#include "CliContext.h"
#include "ExitCodes.h"
#include "UserSession.h"
#include "vcard/ContactExport.h"
#include "vcard/ContactImport.h"

namespace kivtal::cli {

namespace {

using vcard::ExportFormat;
using vcard::ExportResult;
using vcard::ImportResult;

// --group ID: a group id from 1 up, or 0 when not given.
int GroupOption(const Args& args, int& groupId) {
    groupId = 0;
    const std::optional<std::string> text = args.value("group");
    if (!text) return kExitOk;
    const std::optional<int> id = ParseId(*text);
    if (!id) return Fail(kExitUsage, "invalid --group '" + *text + "'");
    groupId = *id;
    return kExitOk;
}

int FailGroup(int groupId) { return Fail(kExitNotFound, "group " + std::to_string(groupId) + " not found"); }

// The code of one file's import; the notes and counts are printed once at the end.
int ImportOne(CliContext& ctx, vcard::ContactImport& importer, const std::string& file, int groupId,
              vcard::ImportReport& report) {
    const ImportResult r =
        file == "-" ? importer.ImportStream(std::cin, "-", report) : importer.ImportFile(file, report);
    switch (r) {
        case ImportResult::Done: return kExitOk;
        case ImportResult::CannotRead: return Fail(kExitUsage, "cannot read " + file + "; nothing of it was imported");
        case ImportResult::NoSuchGroup: return FailGroup(groupId);
        case ImportResult::Cancelled:  // the command line never cancels
        case ImportResult::StoreFailed:
            return Fail(kExitStore, file + ": the store refused the import; nothing of this file was written (" +
                                        ctx.store.userDbPath() + ")");
    }
    return kExitStore;
}

}  // namespace

int RunContactImport(CliContext& ctx) {
    int groupId = 0;
    if (const int c = GroupOption(ctx.args, groupId); c != kExitOk) return c;
    vcard::ContactImport importer(ctx.store, groupId, ctx.args.has("dry-run"));
    vcard::ImportReport report;
    int code = kExitOk;
    for (std::size_t i = 2; i < ctx.args.words.size(); ++i) {
        const int c = ImportOne(ctx, importer, ctx.args.words[i], groupId, report);
        if (code == kExitOk) code = c;
        if (c == kExitNotFound) break;  // the same for every file
    }
    for (const vcard::ImportNote& n : report.notes) std::cerr << n.file << ':' << n.line << ": " << n.text << '\n';
    if (report.notesLeftOut > 0) std::cerr << "... and " << report.notesLeftOut << " more like these\n";
    std::cout << vcard::SummaryLine(report) << '\n';
    if (code == kExitOk && (report.failed > 0 || report.propertiesLeftOut > 0)) code = kExitIncomplete;
    return code;
}

namespace {

int ExportFormatOption(const Args& args, ExportFormat& format) {
    const std::optional<std::string> version = args.value("vcard");
    if (version && args.has("csv")) return Fail(kExitUsage, "--vcard and --csv exclude each other");
    format = args.has("csv") ? ExportFormat::Csv : ExportFormat::VCard30;
    if (!version || *version == "3.0") return kExitOk;
    if (*version == "4.0") {
        format = ExportFormat::VCard40;
        return kExitOk;
    }
    return Fail(kExitUsage, "invalid --vcard '" + *version + "': 3.0 or 4.0");
}

}  // namespace

int RunContactExport(CliContext& ctx) {
    int groupId = 0;
    ExportFormat format{};
    if (const int c = GroupOption(ctx.args, groupId); c != kExitOk) return c;
    if (const int c = ExportFormatOption(ctx.args, format); c != kExitOk) return c;
    const std::string file = ctx.args.word(2);
    vcard::ContactExport exporter(ctx.store, groupId, format);
    int count = 0;
    const ExportResult r = file == "-" ? exporter.ToStream(std::cout, count) : exporter.ToFile(file, count);
    switch (r) {
        case ExportResult::Done: break;
        case ExportResult::NoSuchGroup: return FailGroup(groupId);
        case ExportResult::StoreFailed: return FailRead(ctx.store);
        case ExportResult::CannotWrite:
            return Fail(kExitStore, "cannot write " + file + ": " + exporter.failure() + "; nothing was exported");
    }
    std::cerr << "exported " << count << (count == 1 ? " contact\n" : " contacts\n");
    return kExitOk;
}

}  // namespace kivtal::cli
