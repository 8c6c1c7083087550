#pragma once
// One transaction on the open System Database: everything written in its scope is committed
// together by commit(), or rolled back when the scope ends without it (a refusal, an error).
#include "platform/dao/database.h"

namespace vyr::vtx {

class Transaction {
public:
    explicit Transaction(dao::Database& db) : db_(db) { db_.execute("BEGIN IMMEDIATE"); }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction()
    {
        if (!done_) {
            try {
                db_.execute("ROLLBACK");
            } catch (...) {
                // Nothing more can be done; SQLite drops an unfinished transaction on close.
            }
        }
    }
    void commit()
    {
        db_.execute("COMMIT");
        done_ = true;
    }

private:
    dao::Database& db_;
    bool done_ = false;
};

} // namespace vyr::vtx
