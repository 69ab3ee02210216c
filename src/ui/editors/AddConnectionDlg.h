#pragma once
// The contact editor: one contact spread over four pages (base data, business, life,
// relations). Pages other than the first are built and filled from the record the
// first time they are shown, and at the latest when the user saves, so a page never opened keeps
// its stored values. A save checks the fields, writes the contact with its change-log
// entry and asks the worker for a synchronisation; a failed save keeps the window
// open with everything typed.
#include <array>
#include <functional>
#include <memory>

#include "model/Records.h"
#include "store/LocalStore.h"
#include "ui/editors/FieldText.h"
#include "ui/toolkit/WindowImplBase.h"

namespace kivtal {

class AreaPickers;
class BankRows;
class RecordClashes;
class BirthdayPickers;
class RowList;
class WorkerLink;
struct ContactForm;
struct RuleMessage;
struct SyncClash;
namespace cards {
struct CardReading;
}

// The property a field read off a card carries (its confidence) until the user edits it.
inline constexpr const char* kRecognisedProperty = "recognisedConfidence";

enum ContactPage { kBasePage = 0, kBusinessPage = 1, kLifePage = 2, kRelationsPage = 3 };

class CAddConnectionDlg : public WindowImplBase {
    Q_OBJECT

public:
    // A new contact (editing false) preselects defaultGroupId; an existing one is a
    // copy of the stored contact with its bank accounts.
    CAddConnectionDlg(LocalStore& store, BusinessCard card, int defaultGroupId, bool editing);
    ~CAddConnectionDlg() override;

    // Runs the editor modally over owner: a new contact when contactId is 0, else the
    // stored contact with that id, shown on `page` (0 to 3). Returns 1 once closed, 0
    // when the contact cannot be read (the user was told).
    static int Run(QWidget* owner, int contactId, int defaultGroupId, int page = kBasePage);
    // A new contact, its first page switched to the card scanner (the network allowing).
    static int RunScanner(QWidget* owner);
    // The same window, created and still hidden, over any store; nullptr when the
    // contact cannot be read or the layout not loaded. With scanner, a new contact's
    // first page switches to the card scanner once the window shows.
    static CAddConnectionDlg* Open(LocalStore& store, QWidget* owner, int contactId, int defaultGroupId,
                                   bool scanner = false);

    QString GetSkinFile() const override { return QStringLiteral("AddConnection.xml"); }
    QString GetWindowClassName() const override { return QStringLiteral("ZELAddConnectionWindow"); }

    // Seams: requests go to link (default: the process's link); the scanner option asks
    // probe whether the network is up (default: the process's connectivity probe).
    void SetWorkerLink(WorkerLink* link) { worker_ = link; }
    void SetNetworkProbe(std::function<bool()> probe) { probe_ = std::move(probe); }

    // As a click on the page's tab; before the window is shown the page is opened once
    // initialisation has run.
    void OpenPage(int page);
    int CurrentPage() const { return page_; }
    bool PageFilled(int page) const { return filled_[page]; }
    bool Initialised() const { return initialised_; }
    bool IsEditing() const { return editing_; }
    const BusinessCard& Record() const { return card_; }
    // Kept for the capture control: true until the scanner was used once.
    bool ScannerFirstUse() const { return scannerFirstUse_; }

    // A list of a page already built.
    RowList& List(const QString& container) const;
    BankRows& Banks() const { return *banks_; }

    // Checks, writes and asks for a sync; true when the contact was stored.
    bool Save();

    // The contact's open clashes with another device's edits; nullptr for a new contact.
    RecordClashes* Clashes() const { return clashes_; }

protected:
    void InitWindow() override;
    // Enter is 下一步 (保存 on the last page), Escape the close button.
    void keyPressEvent(QKeyEvent* event) override;
    void Notify(const QString& type, QWidget* sender) override;
    std::intptr_t HandleCustomMessage(unsigned number, std::intptr_t wParam, std::intptr_t lParam,
                                      bool& handled) override;

private:
    // Initialisation and pages (AddConnectionDlg.cpp).
    void Initialise();
    void FillPickers();
    void SwitchPage(const QString& tab);
    void ShowPage(int page);
    void EnsureBuilt(int page);
    void EnsureFilled(int page);
    void OnNext();
    void OnClick(const QString& name, QWidget* sender);
    void OnPicked(const QWidget* picker);
    void OnRemarkFocus(bool entering);
    void ChooseWay(bool scanner);
    // 连接设备 (shoot false) and 开始扫描: each answers with the scanner's state or a shot.
    void OnDeviceButton(bool shoot);
    void OnCloseButton();

    // Pages and the record (AddConnectionFields.cpp).
    void FillPage(int page);
    void FillBase();
    void FillBusiness();
    void FillLife();
    void FillRelations();
    void ReadBase(BusinessCard& card) const;
    void ReadBusiness(BusinessCard& card) const;
    void ReadLife(BusinessCard& card) const;
    void ReadRelations(BusinessCard& card) const;
    void ReadForm(ContactForm& form) const;
    QString Text(const char* control) const { return FieldText(*this, control); }
    void SetText(const char* control, const std::string& text) { SetFieldText(*this, control, text); }

    // Local card reading (AddConnectionReading.cpp): the capture control's kept
    // pictures fill the empty fields; 用识别结果 saves.
    void ConnectCardReading();
    void FillRecognised(const cards::CardReading& reading);

    // Clashes (AddConnectionClashes.cpp).
    void ShowClashes();
    // Puts the clashes of a page just built under its fields.
    void PlaceClashes();
    void MarkClashPages();
    void OnClashAdopted(const SyncClash& clash);

    QWidget* PageHolder(int page) const;
    static const char* PageTab(int page);

    // Saving (AddConnectionSave.cpp). A failed check opens the page of the failing
    // control and leaves the focus in it.
    bool PassesChecks();
    bool ListsHoldNoMarks();
    void ShowFailure(QWidget* control, const std::vector<RuleMessage>& messages);
    QWidget* FailedControl(const std::string& field) const;
    int PageOf(const QWidget* control) const;
    bool Store(BusinessCard& card);
    void RequestSync();

    LocalStore& store_;
    BusinessCard card_;
    int defaultGroupId_;
    bool editing_;
    int page_ = kBasePage;
    int pendingPage_ = -1;
    std::array<bool, 4> built_{true, false, false, false};
    std::array<bool, 4> filled_{true, false, false, false};
    bool scannerFirstUse_ = true;
    bool startOnScanner_ = false;
    bool initialised_ = false;
    bool checkingField_ = false;
    WorkerLink* worker_ = nullptr;
    std::function<bool()> probe_;

    std::vector<std::unique_ptr<RowList>> lists_;
    std::unique_ptr<BankRows> banks_;
    std::unique_ptr<BirthdayPickers> birthday_;
    std::unique_ptr<AreaPickers> area_;
    RecordClashes* clashes_ = nullptr;
};

}  // namespace kivtal
