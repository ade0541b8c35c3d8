#include "SqliteDatabase.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "RegistryBackend.h"

namespace velmora::reg::sqlite {

namespace {

// A second process may hold the write lock while it restores a snapshot; it is waited for.
std::atomic<int> gBusyTimeoutMs{10000};

// Names are kept as written and, folded to ASCII lower case, as the lookup key. Row ids only
// grow, so they give the order things were first written in.
constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS keys(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    parent INTEGER REFERENCES keys(id),
    name BLOB NOT NULL,
    fold BLOB NOT NULL,
    UNIQUE(parent, fold));
CREATE INDEX IF NOT EXISTS keys_in_order ON keys(parent, id);
CREATE TABLE IF NOT EXISTS vals(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    key INTEGER NOT NULL REFERENCES keys(id) ON DELETE CASCADE,
    name BLOB NOT NULL,
    fold BLOB NOT NULL,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    UNIQUE(key, fold));
CREATE INDEX IF NOT EXISTS vals_in_order ON vals(key, id);
INSERT OR IGNORE INTO keys(id, parent, name, fold)
    VALUES(1, NULL, 'HKEY_CURRENT_USER', 'hkey_current_user');
PRAGMA user_version = 1;
)sql";

constexpr const char* kSql[kStatementCount] = {
    "BEGIN IMMEDIATE",
    "COMMIT",
    "ROLLBACK",
    "SELECT id FROM keys WHERE parent = ?1 AND fold = ?2",
    "INSERT INTO keys(parent, name, fold) VALUES(?1, ?2, ?3)",
    ("SELECT (SELECT count(*) FROM keys WHERE parent = ?1),"
     " (SELECT ifnull(max(length(name)), 0) FROM keys WHERE parent = ?1),"
     " (SELECT count(*) FROM vals WHERE key = ?1),"
     " (SELECT ifnull(max(length(name)), 0) FROM vals WHERE key = ?1),"
     " (SELECT ifnull(max(length(data)), 0) FROM vals WHERE key = ?1),"
     " EXISTS(SELECT 1 FROM keys WHERE id = ?1)"),
    "SELECT EXISTS(SELECT 1 FROM keys WHERE id = ?1)",
    "SELECT id, name, type, data FROM vals WHERE key = ?1 AND id > ?2 ORDER BY id LIMIT 1",
    "SELECT id, name, type, data FROM vals WHERE key = ?1 ORDER BY id LIMIT 1 OFFSET ?2",
    "SELECT id, name FROM keys WHERE parent = ?1 AND id > ?2 ORDER BY id LIMIT 1",
    "SELECT id, name FROM keys WHERE parent = ?1 ORDER BY id LIMIT 1 OFFSET ?2",
    ("INSERT INTO vals(key, name, fold, type, data) VALUES(?1, ?2, ?3, ?4, ?5)"
     " ON CONFLICT(key, fold) DO UPDATE SET type = excluded.type, data = excluded.data"),
    "SELECT EXISTS(SELECT 1 FROM keys WHERE parent = ?1)",
    "DELETE FROM keys WHERE id = ?1",
};

}  // namespace

std::unique_ptr<Database> Database::Open(const std::string& path) {
    std::unique_ptr<Database> database(new Database());
    if (!database->Setup(path)) {
        return nullptr;
    }
    return database;
}

Database::~Database() {
    m_statements.clear();  // finalized before the connection closes
    sqlite3_close_v2(m_db);
}

bool Database::Setup(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        return false;
    }
    sqlite3_busy_timeout(m_db, gBusyTimeoutMs.load());
    if (!Configure()) {
        return false;
    }
    m_statements = std::vector<Statement>(kStatementCount);
    for (int i = 0; i < kStatementCount; ++i) {
        if (!m_statements[static_cast<size_t>(i)].Prepare(m_db, kSql[i])) {
            return false;
        }
    }
    return true;
}

// Switching a new file to WAL and creating the tables need the file to themselves for a
// moment; a second process starting at the same instant waits and tries again.
bool Database::Configure() {
    for (int attempt = 0; attempt < 50; ++attempt) {
        const int rc = ConfigureOnce();
        if (rc == SQLITE_OK) {
            return true;
        }
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

int Database::ConfigureOnce() {
    // WAL lets one process read while another writes; NORMAL syncs at checkpoints only, which
    // can lose the last change on a power cut but never corrupts the file.
    for (const char* sql :
         {"PRAGMA journal_mode = WAL", "PRAGMA synchronous = NORMAL", "PRAGMA foreign_keys = ON"}) {
        if (const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); rc != SQLITE_OK) {
            return rc;
        }
    }
    // A store already set up is only read here: creating the tables takes the write lock,
    // and another Velmora may hold that for a long time, which must not keep this one from
    // opening the store at all.
    int version = 0;
    const int rc = sqlite3_exec(
        m_db, "PRAGMA user_version",
        [](void* out, int, char** values, char**) {
            *static_cast<int*>(out) = values[0] != nullptr ? std::atoi(values[0]) : 0;
            return 0;
        },
        &version, nullptr);
    if (rc != SQLITE_OK) {
        return rc;
    }
    if (version >= 1) {
        return SQLITE_OK;
    }
    for (const char* sql : {"BEGIN IMMEDIATE", kSchema, "COMMIT"}) {
        if (const int step = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
            step != SQLITE_OK) {
            return step;
        }
    }
    return SQLITE_OK;
}

}  // namespace velmora::reg::sqlite

namespace velmora::reg::testing {
void SetSqliteBusyTimeout(int milliseconds) {
    sqlite::gBusyTimeoutMs = milliseconds;
}
}  // namespace velmora::reg::testing
