// Switching the main window between its contacts page and its matters page.
#include <QStyle>

#include "ui/main/HomePage.h"

#include "ui/main/ContactsPane.h"
#include "ui/main/MattersPane.h"
#include "ui/main/HomePageControls.h"

namespace kivtal {

void CHomePage::ShowContactsPage() { SwitchPage(false); }

void CHomePage::ShowMattersPage() { SwitchPage(true); }

void CHomePage::SwitchPage(bool toMatters) {
    // A switch asked for while the pages still move lands the running slide first, so
    // two slides never pull the same pages in opposite directions.
    if (slide_.Running()) OnSlideTick(true);
    QWidget* contacts = contacts_->Part().Page();
    QWidget* matters = matters_ ? matters_->Part().Page() : nullptr;
    if (!contacts || !matters) return;
    QWidget* leaving = toMatters ? contacts : matters;
    QWidget* arriving = toMatters ? matters : contacts;
    if (leaving->maximumWidth() == 0) return;
    // Hide before showing: for a moment both doors would ask the window for room, and a
    // window that grew for them does not shrink back.
    const PanePart& leavingPart = toMatters ? contacts_->Part() : matters_->Part();
    const PanePart& arrivingPart = toMatters ? matters_->Part() : contacts_->Part();
    SetVisibleControl(toMatters ? home_page::kDoorLeft.name : home_page::kDoorRight.name, false);
    leavingPart.ShowSide(false);
    SetVisibleControl(toMatters ? home_page::kDoorRight.name : home_page::kDoorLeft.name, true);
    arrivingPart.ShowSide(true);
    toMatters_ = toMatters;
    slide_ = PageSlide(leaving, arriving);
    SetTimer(kSlideTimerId, kSlideIntervalMs);
    StyleTabs(toMatters);
}

void CHomePage::OnSlideTick(bool toTheEnd) {
    if (toTheEnd) slide_.Finish();
    else if (!slide_.Step()) return;
    KillTimer(kSlideTimerId);
    mattersShown_ = toMatters_;
}

void CHomePage::StyleTabs(bool mattersFocused) {
    QWidget* contactsTab = FindControl(home_page::kAddConnection);
    QWidget* mattersTab = FindControl(home_page::kAddEvent);
    for (QWidget* tab : {contactsTab, mattersTab}) {
        if (!tab) continue;
        tab->setProperty("focused", (tab == mattersTab) == mattersFocused);
        // The skin styles the focused tab by this property; the style reads it on polish.
        tab->style()->unpolish(tab);
        tab->style()->polish(tab);
    }
}

}  // namespace kivtal
