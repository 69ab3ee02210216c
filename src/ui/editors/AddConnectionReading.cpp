// The contact editor's side of local card reading: the fields read off a kept card
// fill the empty fields, tinted with their confidence until the user touches them.
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "cards/CardFields.h"
#include "ui/controls/FindEdit.h"
#include "ui/dialogs/capture/CameraUI.h"
#include "ui/editors/AddConnectionDlg.h"
#include "ui/editors/AddConnectionDlgControls.h"

namespace kivtal {
namespace {

using cards::CardField;

struct Target {
    CardField field;
    const LayoutControl& control;
    int page;
};

// clang-format off: one field a line, as the table reads
const Target kTargets[] = {
    {CardField::kName, add_connection::kNameEdit, kBasePage},
    {CardField::kMobile, add_connection::kPhoneEdit, kBasePage},
    {CardField::kEmail, add_connection::kEmailEdit, kBasePage},
    {CardField::kQq, add_connection::kQqEdit, kBasePage},
    {CardField::kCompany, add_connection::kCompanyEdit, kBasePage},
    {CardField::kWebSite, add_connection::kWebEdit, kBasePage},
    {CardField::kAddress, add_connection::kCompanyAddressEdit, kBasePage},
    {CardField::kPosition, add_connection_business::kPositionEdit, kBusinessPage},
    {CardField::kOfficePhone, add_connection_business::kFixPhoneEdit, kBusinessPage},
    {CardField::kFax, add_connection_business::kFaxEdit, kBusinessPage},
};
// clang-format on

void Unmark(FindEdit* field) {
    field->setStyleSheet(QString());
    field->setToolTip(QString());
    field->Display()->setToolTip(QString());
    field->setProperty(kRecognisedProperty, QVariant());
}

// The tint and the confidence stay until the user changes the text.
void Mark(FindEdit* field, int confidence) {
    const QString tip = QStringLiteral("识别结果，可信度 %1%").arg(confidence);
    field->setStyleSheet(QStringLiteral("QPushButton, QLineEdit { background:#fff4cc; }"));
    field->setToolTip(tip);
    field->Display()->setToolTip(tip);
    field->setProperty(kRecognisedProperty, confidence);
    QObject::connect(
        field->Edit(), &QLineEdit::textEdited, field, [field] { Unmark(field); }, Qt::SingleShotConnection);
}

}  // namespace

void CAddConnectionDlg::ConnectCardReading() {
    auto* camera = FindControl<CCameraUI>(add_connection::kCamera);
    if (!camera || editing_) return;
    camera->SetStore(store_);  // kept pictures belong to the user the contact is added for
    camera->SetLocalReading(
        {[this](const cards::CardScan& scan) { FillRecognised(scan.reading); }, [this] { return Save(); }});
    // A reading fills fields of the business page too. Built the first time in the
    // moment the reading came back, it held the window over 50 ms; it is built in its
    // own turn of the event loop once the editor is open instead.
    QTimer::singleShot(0, this, [this] { EnsureFilled(kBusinessPage); });
}

void CAddConnectionDlg::FillRecognised(const cards::CardReading& reading) {
    for (const Target& t : kTargets) {
        const cards::FieldReading& read = reading[t.field];
        if (read.confidence < cards::kConfidentReading) continue;  // noise is worse than an empty field
        EnsureFilled(t.page);
        auto* field = FindControl<FindEdit>(t.control);
        if (!field || !field->GetText().isEmpty()) continue;  // what the user typed stays
        field->SetText(QString::fromStdString(read.value));
        Mark(field, read.confidence);
    }
}

}  // namespace kivtal
