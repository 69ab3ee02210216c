#pragma once
// The editor of the signed-in user's own profile. It does not write the store: it
// brings the local data up to date with a synchronisation, then hands the changed
// profile to the worker, which sends it to the service and stores it once accepted.
// The window closes only when the service has accepted the change.
#include <memory>

#include "model/Records.h"
#include "net/WorkerRequest.h"
#include "store/LocalStore.h"
#include "ui/editors/FieldText.h"
#include "ui/toolkit/WindowImplBase.h"

namespace kivtal {

class AreaPickers;
class BirthdayPickers;
class WorkerLink;

class CUserInforEditWnd : public WindowImplBase {
    Q_OBJECT

public:
    // Outcome of the profile request.
    static constexpr int kAccepted = 0;
    static constexpr int kFailed = -1;
    static constexpr int kNameCertified = -2;

    CUserInforEditWnd(LocalStore& store, UserInfo profile);
    ~CUserInforEditWnd() override;

    // Loads the profile and runs the editor modally over owner; worker results go back
    // to owner's window afterwards. Returns the close code.
    static int Run(WindowImplBase* owner);

    QString GetSkinFile() const override { return QStringLiteral("UserInfoEditWnd.xml"); }
    QString GetWindowClassName() const override { return QStringLiteral("ZELUserInfoEditWindow"); }

    // Seams: requests go to link (default: the process's link); results go back to
    // `window` whenever the editor hands the worker back (default: none).
    void SetWorkerLink(WorkerLink* link) { worker_ = link; }
    void SetReturnWindow(WindowHandle window) { returnWindow_ = window; }

    bool Saving() const { return saving_; }
    int Status() const { return status_; }
    const UserInfo& Profile() const { return profile_; }
    // The profile record that was sent with the last profile request.

protected:
    std::vector<QString> EnterButtons() const override;
    std::vector<QString> EscapeButtons() const override;
    bool OpensOnFirstField() const override { return true; }
    void InitWindow() override;
    void Notify(const QString& type, QWidget* sender) override;
    std::intptr_t HandleCustomMessage(unsigned number, std::intptr_t wParam, std::intptr_t lParam,
                                      bool& handled) override;

private:
    void FillPickers();
    void Fill();
    void ReadForm(UserInfo& profile) const;
    UserInfo EditedProfile() const;
    void OnSave();
    void OnSyncResult(int result);
    void OnProfileResult(int result);
    void ShowEditPage(bool edit);
    void Post(WorkerRequest request);
    void TakeResults();
    void HandBackResults();
    QString Text(const char* control) const { return FieldText(*this, control); }
    void SetText(const char* control, const std::string& text) { SetFieldText(*this, control, text); }

    LocalStore& store_;
    UserInfo profile_;
    UserInfo shown_;  // the profile as the form showed it when filled (read back from it)
    UserInfo sent_;
    bool saving_ = false;
    bool editStarted_ = false;
    bool checkingField_ = false;
    int status_ = kFailed;
    WorkerLink* worker_ = nullptr;
    WindowHandle returnWindow_ = 0;
    std::unique_ptr<BirthdayPickers> birthday_;
    std::unique_ptr<AreaPickers> area_;
};

}  // namespace kivtal
