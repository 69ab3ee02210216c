#include "ui/dialogs/ContactTransfer.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>
#include <QThread>
#include <algorithm>
#include <exception>

#include "ui/toolkit/TalMsgBox.h"

namespace kivtal {
namespace {

constexpr int kProgressSteps = 1000;
constexpr int kProgressDelayMs = 400;  // small files finish before a dialog would show
constexpr int kNotesShown = 8;

const QString kImportTitle = QStringLiteral("导入联系人");
const QString kExportTitle = QStringLiteral("导出联系人");
const QString kFilter30 = QStringLiteral("vCard 3.0 (*.vcf)");
const QString kFilter40 = QStringLiteral("vCard 4.0 (*.vcf)");
const QString kFilterCsv = QStringLiteral("CSV (*.csv)");

QString FileLabel(const QString& path) { return QFileInfo(path).fileName(); }

QString FileFailure(const QString& path, vcard::ImportResult result) {
    const QString name = FileLabel(path);
    switch (result) {
        case vcard::ImportResult::CannotRead: return QStringLiteral("无法读取“%1”，其中的联系人均未导入。").arg(name);
        case vcard::ImportResult::NoSuchGroup: return QStringLiteral("要导入的分组已不存在，“%1”未导入。").arg(name);
        case vcard::ImportResult::StoreFailed:
            return QStringLiteral("数据库拒绝写入，“%1”中的联系人均未保存。").arg(name);
        case vcard::ImportResult::Cancelled: return QStringLiteral("已取消：“%1”中的联系人均未保存。").arg(name);
        case vcard::ImportResult::Done: break;
    }
    return {};
}

vcard::ExportFormat FormatOfFilter(const QString& filter) {
    if (filter == kFilter40) return vcard::ExportFormat::VCard40;
    if (filter == kFilterCsv) return vcard::ExportFormat::Csv;
    return vcard::ExportFormat::VCard30;
}

}  // namespace

ContactTransfer::ContactTransfer(LocalStore& store, QObject* parent) : QObject(parent), store_(store) {}

ContactTransfer::~ContactTransfer() {
    if (worker_ != nullptr) {
        cancel_ = true;
        worker_->wait();
        delete worker_;
    }
}

bool ContactTransfer::ImportFiles(QWidget* owner, const QStringList& files, int groupId) {
    if (worker_ != nullptr || files.isEmpty()) return false;
    cancel_ = false;
    totalBytes_ = 0;
    for (const QString& f : files) totalBytes_ += static_cast<quint64>(std::max<qint64>(0, QFileInfo(f).size()));

    progress_ = MakeProgressDialog(owner);
    connect(progress_, &QProgressDialog::canceled, this, [this] { cancel_ = true; });

    worker_ = QThread::create([this, files, groupId] { RunImport(files, groupId); });
    connect(worker_, &QThread::finished, this, [this, owner = QPointer<QWidget>(owner)] { Finish(owner); });
    worker_->start();
    return true;
}

// On the worker thread. Progress goes to the window only when its step changes.
void ContactTransfer::RunImport(const QStringList& files, int groupId) {
    vcard::ImportReport report;
    QStringList fileFailures;
    try {
        vcard::ContactImport importer(store_, groupId, false);
        quint64 before = 0;
        for (const QString& file : files) {
            int shown = -1;
            auto step = [this, before, &shown](std::uint64_t done) {
                const int value = totalBytes_ == 0
                                      ? 0
                                      : static_cast<int>(std::min<quint64>(
                                            kProgressSteps, (before + done) * kProgressSteps / totalBytes_));
                if (value != shown) {
                    shown = value;
                    QMetaObject::invokeMethod(
                        this, [this, value] { ShowProgress(value); }, Qt::QueuedConnection);
                }
                return !cancel_.load();
            };
            const vcard::ImportResult r =
                cancel_ ? vcard::ImportResult::Cancelled : importer.ImportFile(file.toStdString(), report, step);
            if (r != vcard::ImportResult::Done) fileFailures << FileFailure(file, r);
            before += static_cast<quint64>(std::max<qint64>(0, QFileInfo(file).size()));
        }
    } catch (const std::exception& e) {  // out of memory and the like: the file in progress rolled back
        fileFailures << QStringLiteral("导入中断：%1").arg(QString::fromLocal8Bit(e.what()));
    }
    summary_ = SummaryText(report, fileFailures);
    added_ = report.added;
    merged_ = report.merged;
}

void ContactTransfer::ShowProgress(int value) {
    if (progress_ != nullptr && value != progress_->value()) progress_->setValue(value);
}

void ContactTransfer::Finish(QWidget* owner) {
    worker_->wait();
    delete worker_;
    worker_ = nullptr;
    if (progress_ != nullptr) {
        progress_->close();
        progress_->deleteLater();
    }
    ShowTalMsgBox(kImportTitle, owner, summary_);
    if (added_ + merged_ > 0) emit importFinished(added_, merged_);
}

void ContactTransfer::ImportWithDialog(QWidget* owner, int groupId) {
    const QStringList files = QFileDialog::getOpenFileNames(owner, kImportTitle, QString(),
                                                            QStringLiteral("vCard (*.vcf *.vcard);;所有文件 (*)"));
    if (!files.isEmpty()) ImportFiles(owner, files, groupId);
}

void ContactTransfer::ExportContacts(QWidget* owner, int groupId) {
    QString filter = kFilter30;
    QString path = QFileDialog::getSaveFileName(owner, kExportTitle, QStringLiteral("联系人.vcf"),
                                                kFilter30 + ";;" + kFilter40 + ";;" + kFilterCsv, &filter);
    if (path.isEmpty()) return;
    const vcard::ExportFormat format = FormatOfFilter(filter);
    const QString suffix = format == vcard::ExportFormat::Csv ? QStringLiteral(".csv") : QStringLiteral(".vcf");
    if (QFileInfo(path).suffix().isEmpty()) path += suffix;
    ExportContactsTo(owner, groupId, path, format);
}

bool ContactTransfer::ExportContactsTo(QWidget* owner, int groupId, const QString& path, vcard::ExportFormat format) {
    int count = 0;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const vcard::ExportResult r = vcard::ContactExport(store_, groupId, format).ToFile(path.toStdString(), count);
    QApplication::restoreOverrideCursor();
    QString text;
    switch (r) {
        case vcard::ExportResult::Done: text = QStringLiteral("已导出 %1 个联系人到“%2”。").arg(count).arg(path); break;
        case vcard::ExportResult::NoSuchGroup: text = QStringLiteral("要导出的分组已不存在。"); break;
        case vcard::ExportResult::StoreFailed: text = QStringLiteral("无法读取联系人数据，未导出。"); break;
        case vcard::ExportResult::CannotWrite: text = QStringLiteral("无法写入“%1”，未导出。").arg(path); break;
    }
    ShowTalMsgBox(kExportTitle, owner, text);
    return r == vcard::ExportResult::Done;
}

QString ContactTransfer::SummaryText(const vcard::ImportReport& r, const QStringList& fileFailures) {
    QString text = QStringLiteral("新增 %1 个，合并 %2 个，跳过 %3 个，失败 %4 个。")
                       .arg(r.added)
                       .arg(r.merged)
                       .arg(r.skipped)
                       .arg(r.failed);
    if (r.separatorsReplaced > 0)
        text += QStringLiteral("\n%1 个联系人的文字含有保留的分隔符“~麤^”，已替换为“~^”。").arg(r.separatorsReplaced);
    for (const QString& f : fileFailures) text += '\n' + f;
    const int shown = std::min<int>(kNotesShown, static_cast<int>(r.notes.size()));
    for (int i = 0; i < shown; ++i) {
        const vcard::ImportNote& n = r.notes[static_cast<std::size_t>(i)];
        text += QStringLiteral("\n%1 第 %2 行：%3")
                    .arg(FileLabel(QString::fromStdString(n.file)))
                    .arg(n.line)
                    .arg(QString::fromStdString(n.text));
    }
    if (r.noteCount() > shown) text += QStringLiteral("\n……另有 %1 条").arg(r.noteCount() - shown);
    return text;
}

QProgressDialog* ContactTransfer::MakeProgressDialog(QWidget* owner) {
    auto* dialog =
        new QProgressDialog(QStringLiteral("正在导入联系人……"), QStringLiteral("取消"), 0, kProgressSteps, owner);
    dialog->setWindowTitle(kImportTitle);
    dialog->setAccessibleName(kImportTitle);
    dialog->setMinimumWidth(360);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setMinimumDuration(kProgressDelayMs);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->setValue(0);
    return dialog;
}

QStringList ContactTransfer::VCardFiles(const QList<QUrl>& urls) {
    QStringList files;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile()) continue;
        const QString path = url.toLocalFile();
        const QString suffix = QFileInfo(path).suffix().toLower();
        if (suffix == "vcf" || suffix == "vcard") files << path;
    }
    return files;
}

}  // namespace kivtal
