#include "ui/dialogs/capture/CardPicture.h"

#include <QSaveFile>

#include "store/LocalStore.h"
#include "store/StorePaths.h"

namespace kivtal {
namespace {

constexpr int kJpegQuality = 90;

QString Hex(unsigned value, int digits, bool upper = true) {
    QString text = QString::number(value, 16).rightJustified(digits, QLatin1Char('0'));
    return upper ? text.toUpper() : text;
}

}  // namespace

QString CardFileName(const QUuid& id) {
    QString name = Hex(id.data1, 8) + '-' + Hex(id.data2, 4) + '-' + Hex(id.data3, 4, false) + '-';
    for (int i = 0; i < 8; ++i) {
        if (i == 2) name += '-';
        name += Hex(id.data4[i], 2);
    }
    return name + QStringLiteral(".jpg");
}

QString CardsFolder(const LocalStore& store) {
    return QString::fromStdString(store.dataDir()) + QStringLiteral("cards/");
}

QString SaveCardPicture(const QImage& frame, const QString& folder) {
    if (frame.isNull() || !MakeDirectories(folder.toStdString())) return {};
    const QString path = folder + CardFileName(QUuid::createUuid());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return {};
    if (!frame.save(&file, "JPG", kJpegQuality) || !file.commit()) return {};
    return path;
}

}  // namespace kivtal
