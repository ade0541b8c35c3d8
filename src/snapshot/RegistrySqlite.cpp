// The per-user SQLite store that stands in for the registry where there is none. Two tables:
// keys (a tree by parent id) and their values. Names keep the case they were first written in
// but are looked up without regard to ASCII letter case, as the registry does; the folded
// name is stored beside it so that lookups are plain index seeks on exact bytes.
//
// Several processes use the store at once (two Velmora windows, a plugin's own dialog), so it
// runs in WAL mode with a busy timeout, and every write takes the write lock up front
// (BEGIN IMMEDIATE): a reader turning writer half-way could otherwise fail at once with
// SQLITE_BUSY instead of waiting its turn.

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <utility>
#include <vector>

#include "Platform.h"
#include "RegistryBackend.h"
#include "RegistryPath.h"
#include "SqliteDatabase.h"
#include "SqliteTransaction.h"
#include "TextRules.h"
#include "UnavailableRegistry.h"

namespace velmora::reg {
namespace {

using namespace sqlite;

constexpr std::uint32_t kAllAccess = 0xF003F;

std::uint32_t Clamp32(std::int64_t value) {
    return static_cast<std::uint32_t>(std::clamp<std::int64_t>(value, 0, UINT32_MAX));
}

class SqliteRegistry final : public RegistryBackend {
public:
    explicit SqliteRegistry(std::unique_ptr<Database> database)
        : m_database(std::move(database)), m_transaction(*m_database) {}

    ~SqliteRegistry() override { RollbackTransaction(); }

    Status OpenKey(HKey parent, const std::string& path, std::uint32_t access, HKey* key) override {
        const Handle* from = Find(parent);
        if (from == nullptr || key == nullptr) {
            return kErrorInvalidHandle;
        }
        std::int64_t id = 0;
        const Status status = Resolve(from->keyId, path, &id);
        if (status == kErrorSuccess) {
            *key = NewHandle(id, access);
        }
        return status;
    }

    Status CreateKey(HKey parent, const std::string& path, std::uint32_t access,
                     HKey* key) override {
        const Handle* from = Find(parent);
        if (from == nullptr || key == nullptr) {
            return kErrorInvalidHandle;
        }
        std::vector<std::string_view> names;
        if (!SplitPath(path, names)) {
            return kErrorBadPathname;
        }
        const std::int64_t start = from->keyId;
        const std::uint32_t parentAccess = from->access;
        KnownKeys* const known = m_transaction.Keys();
        if (known != nullptr) {
            if (const std::optional<std::int64_t> id = known->Find(start, path)) {
                *key = NewHandle(*id, access);
                return kErrorSuccess;
            }
        }
        std::int64_t id = start;
        const Status status = Write([&] { return CreatePath(start, parentAccess, names, &id); });
        if (status == kErrorSuccess) {
            *key = NewHandle(id, access);
            if (known != nullptr) {
                known->Remember(start, path, id);
            }
        }
        return status;
    }

    Status QueryInfoKey(HKey key, KeyInfo* info) override {
        const Handle* handle = Find(key);
        if (handle == nullptr || info == nullptr) {
            return kErrorInvalidHandle;
        }
        if ((handle->access & kKeyQueryValue) == 0) {
            return kErrorAccessDenied;
        }
        Run query(Stmt(kKeyInfo));
        query.Int(1, handle->keyId);
        if (query.Step() != SQLITE_ROW) {
            return kErrorStoreFailure;
        }
        if (query.ColumnInt(5) == 0) {
            return kErrorKeyDeleted;
        }
        info->subKeys = Clamp32(query.ColumnInt(0));
        info->maxSubKeyNameLength = Clamp32(query.ColumnInt(1));
        info->values = Clamp32(query.ColumnInt(2));
        info->maxValueNameLength = Clamp32(query.ColumnInt(3));
        info->maxValueDataLength = Clamp32(query.ColumnInt(4));
        return kErrorSuccess;
    }

    Status EnumValue(HKey key, std::uint32_t index, char* name, std::uint32_t* nameCapacity,
                     std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataSize) override {
        Handle* handle = Find(key);
        if (handle == nullptr || name == nullptr || nameCapacity == nullptr ||
            (data != nullptr && dataSize == nullptr)) {
            return handle == nullptr ? kErrorInvalidHandle : kErrorInvalidParameter;
        }
        if ((handle->access & kKeyQueryValue) == 0) {
            return kErrorAccessDenied;
        }
        const EntryQuery query = EntryAt(kValueAfter, kValueAt, index, handle->valueCursor);
        Run row(Stmt(query.statement));
        row.Int(1, handle->keyId).Int(2, query.argument);
        const int rc = row.Step();
        if (rc != SQLITE_ROW) {
            return rc == SQLITE_DONE ? EndOfEntries(handle->keyId) : kErrorStoreFailure;
        }
        handle->valueCursor = {index, row.ColumnInt(0)};
        const std::string_view entryName = row.ColumnBytes(1);
        const std::string_view entryData = row.ColumnBytes(3);
        if (entryName.size() >= *nameCapacity ||
            (data != nullptr && entryData.size() > *dataSize)) {
            if (dataSize != nullptr) {
                *dataSize = static_cast<std::uint32_t>(entryData.size());
            }
            return kErrorMoreData;
        }
        entryName.copy(name, entryName.size());
        name[entryName.size()] = '\0';
        *nameCapacity = static_cast<std::uint32_t>(entryName.size());
        if (type != nullptr) {
            *type = static_cast<std::uint32_t>(row.ColumnInt(2));
        }
        if (data != nullptr && !entryData.empty()) {
            std::memcpy(data, entryData.data(), entryData.size());
        }
        if (dataSize != nullptr) {
            *dataSize = static_cast<std::uint32_t>(entryData.size());
        }
        return kErrorSuccess;
    }

    Status EnumKey(HKey key, std::uint32_t index, char* name, std::uint32_t nameCapacity) override {
        Handle* handle = Find(key);
        if (handle == nullptr || name == nullptr) {
            return handle == nullptr ? kErrorInvalidHandle : kErrorInvalidParameter;
        }
        if ((handle->access & kKeyEnumerateSubKeys) == 0) {
            return kErrorAccessDenied;
        }
        const EntryQuery query = EntryAt(kKeyAfter, kKeyAt, index, handle->keyCursor);
        Run row(Stmt(query.statement));
        row.Int(1, handle->keyId).Int(2, query.argument);
        const int rc = row.Step();
        if (rc != SQLITE_ROW) {
            return rc == SQLITE_DONE ? EndOfEntries(handle->keyId) : kErrorStoreFailure;
        }
        handle->keyCursor = {index, row.ColumnInt(0)};
        const std::string_view entryName = row.ColumnBytes(1);
        if (entryName.size() >= nameCapacity) {
            return kErrorMoreData;
        }
        entryName.copy(name, entryName.size());
        name[entryName.size()] = '\0';
        return kErrorSuccess;
    }

    Status SetValue(HKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                    std::uint32_t size) override {
        const Handle* handle = Find(key);
        if (handle == nullptr) {
            return kErrorInvalidHandle;
        }
        if ((handle->access & kKeySetValue) == 0) {
            return kErrorAccessDenied;
        }
        if ((data == nullptr && size != 0) || name.find('\0') != std::string::npos) {
            return kErrorInvalidParameter;
        }
        const std::int64_t keyId = handle->keyId;
        return Write([&] {
            const std::string folded = text::FoldCase(name);
            Run upsert(Stmt(kUpsertValue));
            upsert.Int(1, keyId).Bytes(2, name).Bytes(3, folded).Int(4, type).Bytes(5, data, size);
            const int rc = upsert.Step();
            if (rc == SQLITE_CONSTRAINT) {
                return kErrorKeyDeleted;
            }
            return rc == SQLITE_DONE ? kErrorSuccess : kErrorStoreFailure;
        });
    }

    Status DeleteKey(HKey parent, const std::string& path) override {
        const Handle* from = Find(parent);
        if (from == nullptr) {
            return kErrorInvalidHandle;
        }
        const std::int64_t start = from->keyId;
        m_transaction.ForgetKeys();
        return Write([&] {
            std::int64_t id = 0;
            const Status found = Resolve(start, path, &id);
            if (found != kErrorSuccess) {
                return found;
            }
            if (id == kRootKeyId) {
                return kErrorAccessDenied;
            }
            Run children(Stmt(kHasChildren));
            children.Int(1, id);
            if (children.Step() != SQLITE_ROW) {
                return kErrorStoreFailure;
            }
            if (children.ColumnInt(0) != 0) {
                return kErrorAccessDenied;
            }
            Run remove(Stmt(kDeleteKey));
            remove.Int(1, id);
            return remove.Step() == SQLITE_DONE ? kErrorSuccess : kErrorStoreFailure;
        });
    }

    Status CloseKey(HKey key) override {
        if (key == kHkeyCurrentUser) {
            return kErrorSuccess;
        }
        return m_handles.erase(key) == 1 ? kErrorSuccess : kErrorInvalidHandle;
    }

    bool BeginTransaction() override { return m_transaction.Begin(); }
    bool CommitTransaction() override { return m_transaction.Commit(); }
    void RollbackTransaction() override { m_transaction.Rollback(); }

    size_t OpenHandleCount() const override { return m_handles.size(); }

private:
    struct Cursor {
        std::uint32_t index = UINT32_MAX;
        std::int64_t rowId = 0;
    };
    struct Handle {
        std::int64_t keyId = 0;
        std::uint32_t access = 0;
        Cursor valueCursor;
        Cursor keyCursor;
    };

    const Statement& Stmt(StatementId id) const { return (*m_database)[id]; }
    bool Step(StatementId id) const { return m_database->Execute(id); }

    Handle* Find(HKey key) {
        if (key == kHkeyCurrentUser) {
            return &m_root;
        }
        const auto found = m_handles.find(key);
        return found == m_handles.end() ? nullptr : &found->second;
    }

    HKey NewHandle(std::int64_t keyId, std::uint32_t access) {
        const HKey key = m_nextHandle++;
        m_handles.emplace(key, Handle{keyId, access, {}, {}});
        return key;
    }

    // Finds or makes each key of `names` below `start`; the last one's id in `id`.
    Status CreatePath(std::int64_t start, std::uint32_t startAccess,
                      const std::vector<std::string_view>& names, std::int64_t* id) {
        *id = start;
        for (const std::string_view name : names) {
            const std::string folded = text::FoldCase(name);
            Run find(Stmt(kFindChild));
            find.Int(1, *id).Bytes(2, folded);
            const int rc = find.Step();
            if (rc == SQLITE_ROW) {
                *id = find.ColumnInt(0);
                continue;
            }
            if (rc != SQLITE_DONE) {
                return kErrorStoreFailure;
            }
            if (*id == start && (startAccess & kKeyCreateSubKey) == 0) {
                return kErrorAccessDenied;
            }
            Run insert(Stmt(kInsertKey));
            insert.Int(1, *id).Bytes(2, name).Bytes(3, folded);
            const int inserted = insert.Step();
            if (inserted == SQLITE_CONSTRAINT) {
                return kErrorKeyDeleted;  // the parent went away under an open handle
            }
            if (inserted != SQLITE_DONE) {
                return kErrorStoreFailure;
            }
            *id = m_database->LastInsertRowId();
        }
        return kErrorSuccess;
    }

    Status Resolve(std::int64_t start, const std::string& path, std::int64_t* found) {
        std::vector<std::string_view> names;
        if (!SplitPath(path, names)) {
            return kErrorBadPathname;
        }
        std::int64_t id = start;
        for (const std::string_view name : names) {
            const std::string folded =
                text::FoldCase(name);  // bound without a copy: must outlive the step
            Run find(Stmt(kFindChild));
            find.Int(1, id).Bytes(2, folded);
            const int rc = find.Step();
            if (rc == SQLITE_DONE) {
                return kErrorFileNotFound;
            }
            if (rc != SQLITE_ROW) {
                return kErrorStoreFailure;
            }
            id = find.ColumnInt(0);
        }
        *found = id;
        return kErrorSuccess;
    }

    // Enumeration walks forward one index at a time, so the entry after the previous one is
    // a single index seek; any other index is counted from the first entry.
    struct EntryQuery {
        StatementId statement;
        std::int64_t argument;
    };
    static EntryQuery EntryAt(StatementId after, StatementId at, std::uint32_t index,
                              const Cursor& cursor) {
        if (index == 0) {
            return {after, 0};
        }
        if (cursor.index != UINT32_MAX && index == cursor.index + 1) {
            return {after, cursor.rowId};
        }
        return {at, index};
    }

    Status EndOfEntries(std::int64_t keyId) {
        Run exists(Stmt(kKeyExists));
        exists.Int(1, keyId);
        if (exists.Step() != SQLITE_ROW) {
            return kErrorStoreFailure;
        }
        return exists.ColumnInt(0) != 0 ? kErrorNoMoreItems : kErrorKeyDeleted;
    }

    template <typename Work>
    Status Write(Work&& work) {
        return m_transaction.Write(std::forward<Work>(work));
    }

    std::unique_ptr<Database> m_database;
    std::unordered_map<HKey, Handle> m_handles;
    Handle m_root{kRootKeyId, kAllAccess, {}, {}};
    HKey m_nextHandle = 1;
    SqliteTransaction m_transaction;
};

}  // namespace

std::unique_ptr<RegistryBackend> OpenSqliteRegistry(const std::string& path) {
    std::unique_ptr<Database> database = Database::Open(path);
    if (!database) {
        return nullptr;
    }
    return std::make_unique<SqliteRegistry>(std::move(database));
}

std::unique_ptr<RegistryBackend> OpenUserRegistry() {
    const std::string folder = platform::UserConfigDirectory();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (std::unique_ptr<RegistryBackend> store = OpenSqliteRegistry(folder + "/registry.sqlite")) {
        return store;
    }
    return std::make_unique<UnavailableRegistry>();
}

}  // namespace velmora::reg
