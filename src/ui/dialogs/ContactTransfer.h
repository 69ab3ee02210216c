#pragma once
// Import and export of the address book from the contacts pane: vCard files in (chosen
// in a file dialog or dropped on the list) with a progress dialog and a summary box,
// and vCard or CSV files out. The work is the core's (src/vcard); this class keeps the
// window responsive while it runs.
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <atomic>

#include "store/LocalStore.h"
#include "vcard/ContactExport.h"
#include "vcard/ContactImport.h"

class QProgressDialog;
class QThread;
class QWidget;

namespace kivtal {

class ContactTransfer : public QObject {
    Q_OBJECT

public:
    explicit ContactTransfer(LocalStore& store, QObject* parent = nullptr);
    // Waits for a running import: it writes through the store this object was given.
    ~ContactTransfer() override;

    // Imports the files, each in one transaction, on a worker thread. A progress dialog
    // on owner shows the bytes read when the work takes a moment; its cancel rolls back
    // the file in progress (files already done stay). Ends with the summary box and
    // importFinished. groupId 0: each card's CATEGORIES group. False when an import is
    // already running.
    bool ImportFiles(QWidget* owner, const QStringList& files, int groupId);
    // Asks for one or more vCard files, then ImportFiles.
    void ImportWithDialog(QWidget* owner, int groupId);

    // Asks for the file (vCard 3.0, vCard 4.0 or CSV, by the filter chosen), then
    // ExportContactsTo. groupId 0: every contact.
    void ExportContacts(QWidget* owner, int groupId);
    // Writes the file and tells the user how it went. True when it was written.
    bool ExportContactsTo(QWidget* owner, int groupId, const QString& path, vcard::ExportFormat format);

    bool importRunning() const { return worker_ != nullptr; }

    // The local .vcf / .vcard files among dropped URLs (for the list's drop handler).
    static QStringList VCardFiles(const QList<QUrl>& urls);

    // The import's progress dialog (window-modal on owner, 0..1000, shown only when the
    // work lasts) and its summary text: the counts, the files that failed as a whole,
    // then the first notes on single cards.
    static QProgressDialog* MakeProgressDialog(QWidget* owner);
    static QString SummaryText(const vcard::ImportReport& report, const QStringList& fileFailures);

signals:
    // After the summary box of an import that stored anything, so the pane reloads.
    void importFinished(int added, int merged);

private:
    void RunImport(const QStringList& files, int groupId);
    void ShowProgress(int value);
    void Finish(QWidget* owner);

    LocalStore& store_;
    QThread* worker_ = nullptr;
    QPointer<QProgressDialog> progress_;
    std::atomic<bool> cancel_{false};
    quint64 totalBytes_ = 0;
    QString summary_;  // written by the worker, read after it ended
    int added_ = 0;
    int merged_ = 0;
};

}  // namespace kivtal
