#pragma once
// A change list of new contacts as a client uploads it, for the timing and load programs.
#include <string>
#include <vector>

#include "ValueLayout.h"

namespace kivtal::service::bench {

inline std::string ContactValue(int i) {
    std::vector<std::string> f(34, "0");
    f[0] = std::to_string(i);
    f[1] = "张三" + std::to_string(i);
    f[2] = "某某贸易有限公司";
    f[3] = "13800138000";
    f[14] = "zhang" + std::to_string(i) + "@example.invalid";
    f[33] = "-1";
    return JoinFields(f);
}

// Adds of the contacts with local ids first .. first+count-1.
inline std::string ContactBatch(int first, int count) {
    std::string doc = "{\"opers\":[";
    for (int i = first; i < first + count; ++i) {
        if (i != first) doc += ",";
        doc += "{\"client_id\":\"" + std::to_string(i) + "\",\"content\":\"" + ContactValue(i) +
               "\",\"id\":\"0\",\"main\":\"1\",\"oper_id\":\"1\",\"oper_ways\":\"1\",\"time\":\"0\"}";
    }
    return doc + "]}\n";
}

}  // namespace kivtal::service::bench
