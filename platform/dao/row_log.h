#pragma once
// The rows a connection's recordsets wrote while it kept a log: each written row of a table
// once, by row id, with its values before its first write (nothing for a row added). The log
// is complete only when nothing else can have written rows meanwhile: no SQL run by execute,
// no other writing statement, no triggers or foreign-key actions.
#include "platform/dao/value.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vyr::dao {

struct RowLog {
    struct Table {
        std::vector<std::string> columns;
        std::map<int64_t, std::optional<std::vector<Value>>> before;   // by row id
    };
    std::map<std::string, Table> tables;   // by exact table name
    bool complete = true;
};

} // namespace vyr::dao
