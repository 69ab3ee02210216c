#include "ValueLayout.h"

#include <cstdlib>

namespace kivtal::service {

const KindLayout& LayoutOf(int kind) {
    static const KindLayout kinds[] = {
        {0, 0, std::nullopt},                       // unused
        {34, 27, ParentRef{kContactGroup, 7, 33}},  // contact: group_id, server_group_id
        {10, 6, ParentRef{kMatterGroup, 3, 9}},     // matter: group_id, server_group_id
        {20, 1, std::nullopt},                      // profile
        {7, 3, ParentRef{kMatter, 2, 6}},           // remark: event_id, event_server_id
        {10, 5, ParentRef{kMatter, 2, 8}},          // reminder: event_id, event_server_id
        {4, 2, std::nullopt},                       // contact group
        {4, 2, std::nullopt},                       // matter group
        {6, 5, std::nullopt},                       // settings
        {10, 7, ParentRef{kContact, 6, 9}},         // bank account: bc_id, bc_server_id
    };
    return kinds[kind >= 1 && kind <= 9 ? kind : 0];
}

bool IsSingleton(int kind) { return kind == kProfile || kind == kSettings; }

std::vector<std::string> SplitFields(std::string_view values) {
    std::vector<std::string> out;
    if (values.empty()) return out;
    for (;;) {
        const auto hit = values.find(kFieldSeparator);
        out.emplace_back(values.substr(0, hit));
        if (hit == std::string_view::npos) return out;
        values.remove_prefix(hit + kFieldSeparator.size());
    }
}

std::string JoinFields(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i) out += kFieldSeparator;
        out += fields[i];
    }
    return out;
}

int FieldInt(const std::vector<std::string>& fields, std::size_t index) {
    if (index >= fields.size()) return 0;
    return static_cast<int>(std::strtol(fields[index].c_str(), nullptr, 10));
}

}  // namespace kivtal::service
