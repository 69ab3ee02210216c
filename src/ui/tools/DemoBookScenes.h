#pragma once
// The main window as a newcomer first sees it: over the data folder of a demo login that
// synced the reference service's demo book ($KIVTAL_SCREENS_DEMO_DATA, filled by
// scripts/screenshots through kivtal-cli). Without that folder there is no such scene.
#include <QByteArray>
#include <functional>
#include <memory>
#include <vector>

#include "store/LocalStore.h"
#include "store/StorePaths.h"
#include "ui/main/PageSlide.h"
#include "ui/main/HomePage.h"
#include "ui/toolkit/UiMessages.h"

namespace kivtal::screens {

inline LocalStore* DemoBookStore() {
    static const QByteArray folder = qgetenv("KIVTAL_SCREENS_DEMO_DATA");
    static std::unique_ptr<LocalStore> store = [] {
        if (folder.isEmpty()) return std::unique_ptr<LocalStore>();
        auto s = std::make_unique<LocalStore>(StorePaths{folder.toStdString() + "/", DefaultRefDbPath()});
        return s->EnsureUserDb("demo") == 0 ? std::move(s) : std::unique_ptr<LocalStore>();
    }();
    return store.get();
}

// The demo book on the contacts page, or on the matters page; empty without the folder.
inline std::vector<QWidget*> ShowDemoBook(bool matters, const std::function<void()>& settle) {
    LocalStore* store = DemoBookStore();
    if (!store) return {};
    auto* home = new CHomePage(*store);
    home->Create(nullptr, kHomeTitle);
    home->move(40, 40);
    home->ShowWindow(true);
    settle();
    if (matters) {
        home->ShowMattersPage();
        for (int i = 0; i < kSlideSteps; ++i) home->SendMessage(WM_TIMER, kSlideTimerId);
    }
    settle();
    return {home};
}

}  // namespace kivtal::screens
