#pragma once
// The registry stand-in's transactions. A caller's transaction (a whole restore) holds the
// store's write lock from its start; every change made outside one is a transaction of its
// own (a plugin writing a single setting). Some failures, a full disk say, roll SQLite's
// transaction back by themselves: from then on nothing more may land one change at a time
// outside it, and the commit must fail.

#include "KnownKeys.h"
#include "RegistryBackend.h"
#include "SqliteDatabase.h"

namespace velmora::reg {

class SqliteTransaction {
public:
    explicit SqliteTransaction(sqlite::Database& database) : m_database(database) {}

    bool Begin() {
        if (m_active || !Step(sqlite::kBegin)) {
            return false;
        }
        m_active = true;
        m_lost = false;
        m_keys.Clear();
        return true;
    }

    bool Commit() {
        if (!m_active) {
            return false;
        }
        End();
        if (!m_lost && Step(sqlite::kCommit)) {
            return true;
        }
        RollBackIfOpen();
        return false;
    }

    void Rollback() {
        if (m_active) {
            End();
            RollBackIfOpen();
        }
    }

    // The keys remembered in a caller's transaction that still holds; nothing outside one.
    KnownKeys* Keys() { return m_active && !m_lost ? &m_keys : nullptr; }
    // A deleted key may be among the remembered ones.
    void ForgetKeys() { m_keys.Clear(); }

    // Runs one change inside the caller's transaction, or as a transaction of its own.
    template <typename Work>
    Status Write(Work&& work) {
        if (m_active) {
            if (m_lost) {
                return kErrorStoreFailure;
            }
            const Status status = work();
            if (status != kErrorSuccess && m_database.Autocommit()) {
                m_lost = true;
            }
            return status;
        }
        if (!Step(sqlite::kBegin)) {
            return kErrorStoreFailure;
        }
        Status status = work();
        if (status == kErrorSuccess && !Step(sqlite::kCommit)) {
            status = kErrorStoreFailure;
        }
        if (status != kErrorSuccess) {
            RollBackIfOpen();
        }
        return status;
    }

private:
    bool Step(sqlite::StatementId id) const { return m_database.Execute(id); }
    void End() {
        m_active = false;
        m_keys.Clear();
    }
    void RollBackIfOpen() {
        if (!m_database.Autocommit()) {
            Step(sqlite::kRollback);
        }
    }

    sqlite::Database& m_database;
    bool m_active = false;
    bool m_lost = false;
    KnownKeys m_keys;
};

}  // namespace velmora::reg
