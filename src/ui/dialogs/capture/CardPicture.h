#pragma once
// Kept card pictures on disk: JPEG files under fresh GUID names in the data folder's
// "cards/" folder (created 0700 when missing).
#include <QImage>
#include <QString>
#include <QUuid>

namespace kivtal {

class LocalStore;

// "%08X-%04X-%04x-%02X%02X-%02X%02X%02X%02X%02X%02X.jpg": the third group is lower case.
QString CardFileName(const QUuid& id);
QString CardsFolder(const LocalStore& store);

// Writes frame as JPEG into folder under a fresh GUID name, through a scratch file that
// is renamed into place, so a half-written picture never carries a card's name.
// Returns the path, or an empty text when the folder or the file cannot be written.
// Safe on any thread.
QString SaveCardPicture(const QImage& frame, const QString& folder);

}  // namespace kivtal
