#pragma once
// The SQLite file beneath the registry stand-in: opening it, its tables and the statements
// on them, prepared once. The registry's own rules live in RegistrySqlite.cpp.

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::reg::sqlite {

// The root key's row; every other key hangs below it.
inline constexpr std::int64_t kRootKeyId = 1;

enum StatementId {
    kBegin,  // BEGIN IMMEDIATE
    kCommit,
    kRollback,
    kFindChild,    // (parent, fold) -> id
    kInsertKey,    // (parent, name, fold)
    kKeyInfo,      // (key) -> subkeys, longest subkey name, values, longest value name,
                   //          longest data, whether the key exists
    kKeyExists,    // (key) -> 0 or 1
    kValueAfter,   // (key, row id) -> id, name, type, data of the next value
    kValueAt,      // (key, index) -> id, name, type, data
    kKeyAfter,     // (parent, row id) -> id, name of the next subkey
    kKeyAt,        // (parent, index) -> id, name
    kUpsertValue,  // (key, name, fold, type, data)
    kHasChildren,  // (key) -> 0 or 1
    kDeleteKey,    // (key), its values with it
    kStatementCount
};

class Statement {
public:
    Statement() = default;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement() { sqlite3_finalize(m_stmt); }

    bool Prepare(sqlite3* db, const char* sql) {
        return sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr) ==
               SQLITE_OK;
    }
    sqlite3_stmt* Get() const { return m_stmt; }

private:
    sqlite3_stmt* m_stmt = nullptr;
};

// One execution of a prepared statement. It is reset on the way out: a statement left
// stepping would keep its read transaction open and stall the other process's checkpoints.
// Bound bytes are not copied, so they must outlive the Run.
class Run {
public:
    explicit Run(const Statement& statement) : m_stmt(statement.Get()) {}
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;
    ~Run() {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }

    Run& Int(int index, std::int64_t value) {
        sqlite3_bind_int64(m_stmt, index, value);
        return *this;
    }
    // Bytes, never SQL NULL: an empty name is the default value, not a missing one.
    Run& Bytes(int index, const void* data, size_t size) {
        if (size == 0) {
            sqlite3_bind_zeroblob(m_stmt, index, 0);
        } else {
            sqlite3_bind_blob64(m_stmt, index, data, size, SQLITE_STATIC);
        }
        return *this;
    }
    Run& Bytes(int index, std::string_view text) { return Bytes(index, text.data(), text.size()); }

    int Step() { return sqlite3_step(m_stmt); }

    std::int64_t ColumnInt(int column) const { return sqlite3_column_int64(m_stmt, column); }
    std::string_view ColumnBytes(int column) const {
        const void* data = sqlite3_column_blob(m_stmt, column);
        const int size = sqlite3_column_bytes(m_stmt, column);
        if (data == nullptr || size <= 0) {
            return {};
        }
        return {static_cast<const char*>(data), static_cast<size_t>(size)};
    }

private:
    sqlite3_stmt* m_stmt;
};

class Database {
public:
    // Null when the file cannot be opened or set up.
    static std::unique_ptr<Database> Open(const std::string& path);
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database();

    const Statement& operator[](StatementId id) const {
        return m_statements[static_cast<size_t>(id)];
    }
    // Runs a statement that returns no rows.
    bool Execute(StatementId id) const {
        Run run((*this)[id]);
        return run.Step() == SQLITE_DONE;
    }
    // False while a transaction is open, including one SQLite has not rolled back by itself.
    bool Autocommit() const { return sqlite3_get_autocommit(m_db) != 0; }
    std::int64_t LastInsertRowId() const { return sqlite3_last_insert_rowid(m_db); }

private:
    Database() = default;
    bool Setup(const std::string& path);
    bool Configure();
    int ConfigureOnce();

    sqlite3* m_db = nullptr;
    std::vector<Statement> m_statements;
};

}  // namespace velmora::reg::sqlite
