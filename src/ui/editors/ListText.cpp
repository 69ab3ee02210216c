#include "ui/editors/ListText.h"

namespace kivtal {

QString JoinEntries(const QStringList& entries) {
    QString text;
    for (const QString& entry : entries)
        if (!entry.isEmpty()) text += entry + kEntryMark;
    return text;
}

QStringList SplitEntries(const QString& text) {
    QStringList pieces = text.split(kEntryMark);
    // "a[pig]b[pig]" leaves an empty last piece: nothing followed the last mark.
    if (!pieces.isEmpty() && pieces.last().isEmpty()) pieces.removeLast();
    return pieces;
}

QString JoinRelations(const std::vector<Relation>& relations) {
    QString text;
    for (const auto& [name, relation] : relations)
        if (!name.isEmpty() && !relation.isEmpty()) text += name + kRelationMark + relation + kEntryMark;
    return text;
}

std::vector<Relation> SplitRelations(const QString& text) {
    std::vector<Relation> out;
    for (const QString& piece : SplitEntries(text)) {
        const int mark = piece.indexOf(kRelationMark);
        if (mark < 0) out.emplace_back(piece, QString());
        else out.emplace_back(piece.left(mark), piece.mid(mark + kRelationMark.size()));
    }
    return out;
}

}  // namespace kivtal
