#include "ui/StandardControls.h"

#include "ui/controls/AccessibleParts.h"
#include "ui/controls/BirthdayList.h"
#include "ui/controls/Calendar.h"
#include "ui/controls/ComboKiv.h"
#include "ui/controls/EditorPickers.h"
#include "ui/controls/EventPlan.h"
#include "ui/controls/FindEdit.h"
#include "ui/controls/GifButton.h"
#include "ui/toolkit/GifLabel.h"
#include "ui/controls/ListKiv.h"
#include "ui/controls/MultiButton.h"
#include "ui/dialogs/capture/CameraUI.h"
#include "ui/toolkit/SkinLoader.h"

namespace kivtal {
namespace {

template <class Control>
void Register(const char* className) {
    RegisterControlClass(QString::fromLatin1(className), [](QWidget* parent) { return new Control(parent); });
}

}  // namespace

void RegisterStandardControls() {
    InstallAccessibleParts();
    Register<ComboKiv>("ComboKiv");
    Register<GifLabel>("GifLabel");
    Register<GifButton>("GifButton");
    Register<FindEdit>("FindEdit");
    Register<GroupCombo>("GroupCombo");
    Register<TradeCombo>("TradeCombo");
    Register<SelectCombo>("SelectCombo");
    Register<ListKiv>("ListKiv");
    Register<CCameraUI>("Camera");
    Register<CCalendarUI>("Calendar");
    Register<CMultiLineButtonUI>("MultiButton");
    Register<CTimeBase>("EventPlan");
    Register<BirthdayList>("BirthdayList");
}

void PrepareWindows() {
    LoadSkin();
    static const bool registered = (RegisterStandardControls(), true);
    (void)registered;
}

}  // namespace kivtal
