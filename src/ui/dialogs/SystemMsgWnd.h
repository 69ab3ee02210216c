#pragma once
// The news window: the service's news, newest first, as a list; opening one shows it
// alone (its text, or its picture) and marks it read, which the main window counts.
#include <QString>
#include <vector>

#include "store/LocalStore.h"
#include "ui/toolkit/WindowImplBase.h"

class QListWidgetItem;

namespace kivtal {

struct NewsRowData {
    int newsId = 0;
    bool unread = false;
    bool picture = false;
    QString date;  // "%04d-%02d-%02d" in Beijing time
    QString title;
    QString body;  // the text, or the picture's local path
};

class CSystemMsgWnd : public WindowImplBase {
    Q_OBJECT

public:
    // mainWindow receives WM_UI_NEWS_READ when an unread item is opened.
    CSystemMsgWnd(LocalStore& store, WindowHandle mainWindow);

    QString GetSkinFile() const override { return QStringLiteral("SystemMsgWnd.xml"); }
    QString GetWindowClassName() const override { return QStringLiteral("ZELSystemMsgWnd"); }

    const std::vector<NewsRowData>& Rows() const { return rows_; }
    // Opens the item of list row `row`, as a click on it does.
    void OpenRow(int row);

protected:
    std::vector<QString> EnterButtons() const override;
    std::vector<QString> EscapeButtons() const override;
    bool OpensOnFirstField() const override { return true; }
    void InitWindow() override;
    void Notify(const QString& type, QWidget* sender) override;

private:
    void AddRow(const NewsRowData& data);
    void ShowBody(const NewsRowData& data);
    void BackToList();

    LocalStore& store_;
    WindowHandle mainWindow_;
    std::vector<NewsRowData> rows_;
};

}  // namespace kivtal
