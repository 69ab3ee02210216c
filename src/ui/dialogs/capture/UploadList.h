#pragma once
// The capture control's list of kept pictures with their upload progress: a model of
// the items, and a view that paints each row (thumbnail, progress or "上传失败", the
// delete and retry icons) and turns a press on an icon into a request. Rows expose
// their texts to screen readers through the model.
#include <QAbstractListModel>
#include <QImage>
#include <QListView>
#include <QString>
#include <vector>

namespace kivtal {

inline constexpr int kItemWaiting = 0;
inline constexpr int kItemUploaded = 1;
inline constexpr int kItemFailed = 2;

struct UploadItem {
    int imgId = 0;
    QString path;
    int state = kItemWaiting;
    int progress = 0;  // 0-100
    QImage thumbnail;
};

class UploadListModel : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void Append(UploadItem item);
    void Remove(int imgId);
    // The item with that id, nullptr when it is not in the list.
    const UploadItem* Find(int imgId) const;
    const UploadItem& At(int row) const { return items_[static_cast<std::size_t>(row)]; }
    const std::vector<UploadItem>& Items() const { return items_; }

    void SetState(int imgId, int state);
    void SetProgress(int imgId, int progress);
    void FailAll();

    static QString ItemText(const UploadItem& item);

private:
    int RowOf(int imgId) const;
    void Changed(int row);

    std::vector<UploadItem> items_;
};

class UploadListView : public QListView {
    Q_OBJECT

public:
    static constexpr int kRowHeight = 100;
    static constexpr int kWheelStep = 10;
    static constexpr int kStillRows = 3;  // the list scrolls only beyond this many

    explicit UploadListView(QWidget* parent = nullptr);

    // The icon areas of a row, in the row's own coordinates.
    static QRect DeleteArea(const QRect& row);
    static QRect RetryArea(const QRect& row);

signals:
    void DeleteRequested(int imgId);
    void RetryRequested(int imgId);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    const UploadItem* ItemAt(const QModelIndex& index) const;
};

}  // namespace kivtal
