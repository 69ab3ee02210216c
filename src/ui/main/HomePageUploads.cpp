// The main window's part in the card uploads: each result of the worker's upload pass
// updates the open capture control and keeps the passes going.
#include <QPointer>

#include "model/Diagnostics.h"
#include "net/ContentJobs.h"
#include "ui/dialogs/capture/CameraUI.h"
#include "ui/main/HomePage.h"
#include "ui/toolkit/TalMsgBox.h"

namespace kivtal {
namespace {

const QString kUploadNoNetwork = QStringLiteral("网络错误，上传失败，请检查网络连接后再试");

}  // namespace

void CHomePage::OnCardUploadResult(int result, int imgId) {
    DebugLine("小秘书上传结果处理:" + std::to_string(result));
    if (result != kResultNoNetwork) {
        UploadQueue::Instance().RemoveUploaded(imgId);
        Post(WorkerRequest::Plain(WM_REQ_SECRETARY_UPLOAD));
    }
    QPointer<CCameraUI> camera = CCameraUI::Current();
    if (result > 0) {
        if (camera) camera->SetItemState(imgId, kItemUploaded);
    } else if (result == kUploadFailed) {
        if (camera) camera->SetItemState(imgId, kItemFailed);
    } else if (result == kResultNoNetwork) {
        if (!camera) {
            ShowTalMsgBox(QString(), this, kUploadNoNetwork);
            return;
        }
        camera->FailAllItems();
        QPointer<QWidget> editor = camera->window();
        ShowTalMsgBox(QString(), editor, kUploadNoNetwork);
        if (auto* window = qobject_cast<WindowImplBase*>(editor.data())) window->Close(1);
    } else if (camera) {
        camera->FailAllItems();
    }
}

}  // namespace kivtal
