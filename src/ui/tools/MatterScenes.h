#pragma once
// The matters scenes for kivtal-screens: demo matters (today and the next days, with
// remarks, reminders and a group) in the main window's demo store, and the matter
// editor on each of its pages (Clash: the details, which kivtal-screens gives a clash).
#include <QAbstractButton>
#include <QCalendarWidget>
#include <QCoreApplication>
#include <QDateEdit>
#include <QKeyEvent>
#include <functional>
#include <vector>

#include "model/Clock.h"
#include "store/ContactStore.h"
#include "store/LocalStore.h"
#include "store/MatterStore.h"
#include "ui/controls/CalendarDate.h"
#include "ui/dialogs/AddMatterDlg.h"
#include "ui/dialogs/AddMatterDlgControls.h"

namespace kivtal::screens {

inline int DemoDay(CalendarDate d, int hour) { return MatterTime(d.year, d.month, d.day, hour, 0, 0).value_or(0); }

// Returns the id of the richest matter (two remarks, a description reminder and one more).
inline int FillDemoMatters(LocalStore& store) {
    MatterStore ms(store);
    ContactStore cs(store);
    for (const char* name : {"李娜", "王强", "陈静"}) {
        BusinessCard c;
        c.bc_name = name;
        cs.AddContact(c);
    }
    EventGroup work;
    work.group_name = "工作";
    ms.AddMatterGroup(work);
    EventGroup home;
    home.group_name = "家庭";
    ms.AddMatterGroup(home);
    const CalendarDate today = TodayDate();
    struct Demo {
        int fromDay, toDay;
        const char* text;
        int group;
        int pinned;
    };
    const Demo demos[] = {
        {-1, 2, "与华东区客户确认年度合作框架协议\\r\\n带上报价单", work.group_id, 1},
        {0, 0, "下午三点部门例会，准备季度总结", work.group_id, 0},
        {-3, 5, "陪父母体检，预约周六上午", home.group_id, 0},
        {1, 1, "给王总回电话", 0, 0},
        {2, 3, "准备展会物料：易拉宝、名片、样品", work.group_id, 0},
        {9, 11, "出差深圳，拜访三家供应商", work.group_id, 0},
        {-12, -10, "季度报表提交", 0, 0},
    };
    int rich = 0;
    for (const Demo& d : demos) {
        TalEvent m;
        m.description = d.text;
        m.start_time = DemoDay(AddDays(today, d.fromDay), 0);
        m.end_time = DemoDay(AddDays(today, d.toDay), 0) + 86399;
        m.group_id = d.group;
        m.place_top = d.pinned;
        m.create_time = NowSeconds();
        ms.AddMatter(m);
        if (rich == 0) rich = m.event_id;
    }
    for (const char* text : {"对方希望把付款周期改为 60 天", "法务已审阅第三版合同", "第三条备注只在详情页显示"}) {
        EventComment r;
        r.c_content = text;
        r.event_id = rich;
        r.create_time = NowSeconds();
        ms.AddRemark(r);
    }
    EventAlarm a;
    a.a_content = demos[0].text;
    a.alarm_whos_id = "1;-1;";
    a.alarm_whos = "0";
    a.alarm_myself = 1;
    a.event_description_alarm = 1;
    a.event_id = rich;
    a.alarm_time = DemoDay(AddDays(today, 1), 9);
    ms.AddReminder(a);
    EventAlarm b = a;
    b.a_content = "提醒李娜带上样品";
    b.alarm_whos_id = "1;";
    b.alarm_myself = 0;
    b.event_description_alarm = 2;
    b.alarm_time = DemoDay(AddDays(today, 2), 14);
    ms.AddReminder(b);
    return rich;
}

enum class EditorScene { Details, NewMatter, EditWithReminder, Remark, Reminder, DatePopup, Clash };

inline std::vector<QWidget*> ShowEditor(LocalStore& store, int eventId, EditorScene scene,
                                        const std::function<void()>& settle) {
    const bool fresh = scene == EditorScene::NewMatter || scene == EditorScene::DatePopup;
    TalEvent matter;
    if (!fresh) MatterStore(store).MatterById(eventId, matter);
    const MatterPage start = fresh                          ? MatterPage::NewMatter
                             : scene == EditorScene::Remark ? MatterPage::AddRemark
                                                            : MatterPage::Details;
    auto* editor = new CAddMatterDlg(store, matter, 0, start);
    editor->Create(nullptr, QStringLiteral("事项"));
    editor->move(60, 60);
    editor->ShowWindow(true);
    settle();
    auto click = [&](const LayoutControl& name) {
        if (auto* b = editor->FindControl<QAbstractButton>(name)) b->click();
        settle();
    };
    if (scene == EditorScene::EditWithReminder) click(add_matter::kEditMatter);
    if (scene == EditorScene::Reminder) click(add_matter::kAddReminder);
    if (scene == EditorScene::NewMatter) {
        click(add_matter::kRemind);
        click(add_matter::kRemindOthers);
    }
    if (scene == EditorScene::DatePopup) {
        auto* end = editor->FindControl<QDateEdit>(add_matter::kEndTime);
        if (!end) return {editor};
        end->setFocus();
        QKeyEvent f4(QEvent::KeyPress, Qt::Key_F4, Qt::NoModifier);
        QCoreApplication::sendEvent(end, &f4);
        settle();
        return {editor, end->calendarWidget()->window()};
    }
    return {editor};
}

}  // namespace kivtal::screens
