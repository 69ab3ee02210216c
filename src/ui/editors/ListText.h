#pragma once
// The stored text forms of the editor's multi-valued fields: entries joined by "[pig]",
// and related contacts as name "[gx]" relation pairs.
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace kivtal {

inline const QString kEntryMark = QStringLiteral("[pig]");
inline const QString kRelationMark = QStringLiteral("[gx]");

using Relation = std::pair<QString, QString>;  // name, relation

// Each non-empty entry followed by the mark; empty entries are left out.
QString JoinEntries(const QStringList& entries);
// The pieces between the marks, in order, and a non-empty rest after the last mark.
// Empty pieces stay, so a hand-edited text keeps its positions.
QStringList SplitEntries(const QString& text);

// Only pairs whose name and relation are both filled are kept.
QString JoinRelations(const std::vector<Relation>& relations);
// Each piece cut at its first relation mark; a piece without one is a name alone.
std::vector<Relation> SplitRelations(const QString& text);

}  // namespace kivtal
