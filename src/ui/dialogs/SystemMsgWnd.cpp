#include "ui/dialogs/SystemMsgWnd.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>

#include "model/WallClock.h"
#include "store/ContentStore.h"
#include "ui/dialogs/SystemMsgWndControls.h"
#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/ControlAttributes.h"
#include "ui/toolkit/UiMessages.h"
#include "ui/toolkit/WindowRegistry.h"

namespace kivtal {
namespace {

const QString kUnreadMark = QStringLiteral("file='new.png' dest='0,0,33,44'");

NewsRowData RowOf(const News& news) {
    NewsRowData row;
    row.newsId = news.news_id;
    row.unread = news.news_state != 1;
    row.picture = news.news_type == 1;
    const WallClock day = TimeToWallClock(news.create_time);
    row.date = QString::asprintf("%04d-%02d-%02d", day.year, day.month, day.day);
    row.title = QString::fromStdString(news.news_title);
    row.body = QString::fromStdString(row.picture ? news.extra_data_path : news.news_content);
    return row;
}

}  // namespace

CSystemMsgWnd::CSystemMsgWnd(LocalStore& store, WindowHandle mainWindow) : store_(store), mainWindow_(mainWindow) {}

void CSystemMsgWnd::InitWindow() {
    NewsList news;
    ContentStore(store_).ReadNews(news);  // newest first
    for (const News& n : news) AddRow(RowOf(n));
    if (QWidget* empty = FindControl(system_msg::kEmpty)) empty->setVisible(rows_.empty());
    if (auto* list = FindControl<QListWidget>(system_msg::kList)) {
        // Enter on a row opens it as a click does.
        connect(list, &QListWidget::itemActivated, this,
                [this, list](QListWidgetItem* item) { OpenRow(list->row(item)); });
    }
    BackToList();
}

void CSystemMsgWnd::AddRow(const NewsRowData& data) {
    auto* list = FindControl<QListWidget>(system_msg::kList);
    if (!list) return;
    rows_.push_back(data);
    auto* row = new QWidget;
    row->setObjectName(QStringLiteral("news_row"));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(14, 0, 15, 0);
    layout->setSpacing(7);
    auto* mark = new QLabel(row);
    mark->setObjectName(QStringLiteral("news_mark"));
    mark->setFixedSize(22, 39);
    if (data.unread) SetControlAttribute(mark, QStringLiteral("bkimage"), kUnreadMark);
    auto* title = new QLabel(data.title, row);
    title->setObjectName(QStringLiteral("news_title"));
    title->setToolTip(data.title);
    auto* date = new QLabel(data.date, row);
    date->setObjectName(QStringLiteral("news_date"));
    date->setFixedWidth(95);
    layout->addWidget(mark);
    layout->addWidget(title, 1);
    layout->addWidget(date);
    auto* item = new QListWidgetItem(list);
    item->setSizeHint(QSize(0, 42));
    item->setData(Qt::AccessibleTextRole,
                  (data.unread ? QStringLiteral("未读，") : QString()) + data.title + QStringLiteral("，") + data.date);
    list->setItemWidget(item, row);
}

void CSystemMsgWnd::OpenRow(int row) {
    auto* list = FindControl<QListWidget>(system_msg::kList);
    if (!list || row < 0 || row >= static_cast<int>(rows_.size())) return;
    NewsRowData& data = rows_[static_cast<std::size_t>(row)];
    if (QWidget* page = FindControl(system_msg::kListPage)) page->hide();
    if (QWidget* page = FindControl(system_msg::kContentPage)) page->show();
    SetControlText(FindControl(system_msg::kTitle), data.title);
    SetControlText(FindControl(system_msg::kTime), data.date);
    ShowBody(data);
    if (QWidget* rowWidget = list->itemWidget(list->item(row)))
        if (auto* mark = rowWidget->findChild<QLabel*>(QStringLiteral("news_mark")))
            SetControlAttribute(mark, QStringLiteral("bkimage"), QStringLiteral("file=''"));
    if (!data.unread) return;
    // Marked read once: opening it again neither writes nor counts a second time; a
    // failed write leaves it unread, so the next opening tries again.
    if (ContentStore(store_).MarkNewsRead(data.newsId) != 0) return;
    data.unread = false;
    list->item(row)->setData(Qt::AccessibleTextRole, data.title + QStringLiteral("，") + data.date);
    WindowRegistry::Post(mainWindow_, WM_UI_NEWS_READ, 0, 0);
}

void CSystemMsgWnd::ShowBody(const NewsRowData& data) {
    auto* text = FindControl<QTextEdit>(system_msg::kText);
    auto* picture = FindControl<QLabel>(system_msg::kPicture);
    if (data.picture) {
        if (text) text->hide();
        if (picture) {
            const QPixmap image(data.body);
            picture->setPixmap(image.isNull()
                                   ? QPixmap()
                                   : image.scaled(picture->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
            picture->setText(image.isNull() ? QStringLiteral("图片无法显示") : QString());
            picture->show();
        }
        return;
    }
    if (picture) picture->hide();
    if (!text) return;
    text->clear();
    text->setPlainText(QStringLiteral("     ") + data.body);
    QTextCursor all(text->document());
    all.select(QTextCursor::Document);
    QTextBlockFormat spacing;
    spacing.setLineHeight(200, QTextBlockFormat::ProportionalHeight);
    all.mergeBlockFormat(spacing);
    text->show();
}

void CSystemMsgWnd::BackToList() {
    if (QWidget* page = FindControl(system_msg::kListPage)) page->show();
    if (QWidget* page = FindControl(system_msg::kContentPage)) page->hide();
    if (auto* list = FindControl<QListWidget>(system_msg::kList)) list->clearSelection();
}

void CSystemMsgWnd::Notify(const QString& type, QWidget* sender) {
    const QString name = ControlName(sender);
    if (type == u"itemclick" && name == system_msg::kList) {
        if (auto* list = qobject_cast<QListWidget*>(sender)) OpenRow(list->currentRow());
        return;
    }
    if (type != u"click") return;
    if (name == system_msg::kBtnMin) showMinimized();
    else if (name == system_msg::kBtnClose) Close(1);
    else if (name == system_msg::kBack) BackToList();
}

std::vector<QString> CSystemMsgWnd::EnterButtons() const { return {}; }

std::vector<QString> CSystemMsgWnd::EscapeButtons() const {
    return {system_msg::kBack.name, system_msg::kBtnClose.name};
}

}  // namespace kivtal
