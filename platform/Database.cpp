#include "Database.h"

#include "AppError.h"
#include "TickingFiles.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <sqlite3.h>
#include <type_traits>
#include <utility>

namespace {
struct DatabaseTicks {
    // Runs the tick or the wait unless one of them is running already; what
    // it throws is kept for the end of the engine call.
    void call(const std::function<void()>& function) {
        if (!function || inside || failure)
            return;
        inside = true;
        try {
            function();
        } catch (...) {
            failure = std::current_exception();
        }
        inside = false;
    }

    std::function<void()> tick;
    std::function<void()> wait;
    std::function<bool()> roomToGrow;
    std::exception_ptr failure; // of the tick or wait, thrown again when the engine returns
    bool inside = false;
};

constexpr int kInstructionsPerTick = 1000;
constexpr int kLongestSleepMs = 8; // between two looks at a busy database

// The ticks of the connection whose engine call is in progress on this thread;
// a tick may start calls of other connections, which stack. The engine's own
// sorting threads see none: the window's turns are taken on its own thread.
thread_local DatabaseTicks* running = nullptr;

void tickNow() {
    if (running)
        running->call(running->tick);
}

bool roomToGrowNow() {
    return !running || !running->roomToGrow || running->roomToGrow();
}

// Non-zero tries the lock again.
int onBusy(void* data, int attempts) {
    auto* ticks = static_cast<DatabaseTicks*>(data);
    if (!ticks->wait || ticks->inside || ticks->failure)
        return 0;
    sqlite3_sleep(std::min(attempts + 1, kLongestSleepMs));
    ticks->call(ticks->wait);
    return ticks->failure ? 0 : 1;
}

int onProgress(void*) {
    tickNow();
    return running && running->failure ? 1 : 0; // non-zero interrupts the statement
}

template <class Call> int engineCall(DatabaseTicks* ticks, Call&& call) {
    DatabaseTicks* const outer = std::exchange(running, ticks);
    const int code = call();
    running = outer;
    if (ticks && ticks->failure)
        std::rethrow_exception(std::exchange(ticks->failure, nullptr));
    return code;
}

[[noreturn]] void fail(sqlite3* db, int code) {
    const int extended = db ? sqlite3_extended_errcode(db) : code;
    // Memory and room on disk are named in the platform's words.
    const int primary = extended & 0xff;
    if (primary == SQLITE_NOMEM || primary == SQLITE_FULL) {
        const AppError named = primary == SQLITE_NOMEM ? OutOfMemoryError() : DiskFullError();
        throw DatabaseError(named.description(), named.number(), extended);
    }
    const char* message = db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    throw DatabaseError(QString::fromUtf8(message), extended, extended);
}

void check(sqlite3* db, int code) {
    if (code != SQLITE_OK)
        fail(db, code);
}

class EngineStatement : public DatabaseStatement {
public:
    EngineStatement(sqlite3* db, sqlite3_stmt* statement, DatabaseTicks* ticks)
        : db_(db), statement_(statement), ticks_(ticks) {}
    EngineStatement(const EngineStatement&) = delete;
    EngineStatement& operator=(const EngineStatement&) = delete;
    ~EngineStatement() override { sqlite3_finalize(statement_); }

    void bindText(int parameter, QAnyStringView text) override;
    bool step() override;
    void reset() override { check(db_, sqlite3_reset(statement_)); }
    QStringView text(int column) const override;
    QByteArrayView utf8(int column) const override;
    qint64 integer(int column) const override { return sqlite3_column_int64(statement_, column); }

private:
    sqlite3* db_;
    sqlite3_stmt* statement_;
    DatabaseTicks* ticks_;
};

void EngineStatement::bindText(int parameter, QAnyStringView text) {
    // A null pointer would bind NULL; an empty address part must stay an empty text.
    static const char16_t empty[] = u"";
    const auto data = [&](const void* chars) { return chars ? chars : empty; };
    const int code = text.visit([&](auto view) {
        using View = decltype(view);
        if constexpr (std::is_same_v<View, QStringView>) {
            return sqlite3_bind_text16(statement_, parameter, data(view.data()),
                                       int(view.size() * 2), SQLITE_STATIC);
        } else if constexpr (std::is_same_v<View, QLatin1StringView>) {
            // The engine copies the text once it is converted.
            const QByteArray utf8 = QString(view).toUtf8();
            return sqlite3_bind_text(statement_, parameter, utf8.constData(), int(utf8.size()),
                                     SQLITE_TRANSIENT);
        } else {
            return sqlite3_bind_text(statement_, parameter,
                                     static_cast<const char*>(data(view.data())), int(view.size()),
                                     SQLITE_STATIC);
        }
    });
    check(db_, code);
}

bool EngineStatement::step() {
    const int code = engineCall(ticks_, [&] { return sqlite3_step(statement_); });
    if (code == SQLITE_ROW)
        return true;
    if (code == SQLITE_DONE)
        return false;
    fail(db_, code);
}

QStringView EngineStatement::text(int column) const {
    const void* data = sqlite3_column_text16(statement_, column);
    const int bytes = sqlite3_column_bytes16(statement_, column);
    return QStringView(static_cast<const char16_t*>(data), bytes / 2);
}

QByteArrayView EngineStatement::utf8(int column) const {
    const unsigned char* data = sqlite3_column_text(statement_, column);
    const int bytes = sqlite3_column_bytes(statement_, column);
    return QByteArrayView(reinterpret_cast<const char*>(data), bytes);
}

class EngineConnection : public DatabaseConnection {
public:
    EngineConnection() {
        if (sqlite3_initialize() != SQLITE_OK)
            throw AppError(kProviderNotFound, kProviderNotFoundNumber);
    }
    EngineConnection(const EngineConnection&) = delete;
    EngineConnection& operator=(const EngineConnection&) = delete;
    ~EngineConnection() override { sqlite3_close_v2(db_); }

    void open(const QString& path) override;
    void execute(const QString& sql) override;
    std::unique_ptr<DatabaseStatement> prepare(const QString& sql) override;
    void setTick(std::function<void()> tick) override { ticks_.tick = std::move(tick); }
    void setWait(std::function<void()> wait) override { ticks_.wait = std::move(wait); }
    void setRoomToGrow(std::function<bool()> roomToGrow) override {
        ticks_.roomToGrow = std::move(roomToGrow);
    }

private:
    sqlite3* db_ = nullptr;
    DatabaseTicks ticks_;
};

void EngineConnection::open(const QString& path) {
    sqlite3_close_v2(std::exchange(db_, nullptr));
    sqlite3* db = nullptr;
    // One thread uses a connection: the engine need not lock it at every call.
    const int code =
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                        TickingFileLayer(tickNow, roomToGrowNow));
    if (code != SQLITE_OK) {
        const DatabaseError error(QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(code)),
                                  code, code);
        sqlite3_close_v2(db);
        throw error;
    }
    db_ = db;
    sqlite3_progress_handler(db_, kInstructionsPerTick, onProgress, nullptr);
    sqlite3_busy_handler(db_, onBusy, &ticks_);
    // The engine reads the file lazily; reading the schema now tells a
    // database from any other file.
    check(db_, engineCall(&ticks_, [&] {
              return sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr,
                                  nullptr);
          }));
}

void EngineConnection::execute(const QString& sql) {
    if (!db_)
        fail(nullptr, SQLITE_MISUSE);
    const QByteArray text = sql.toUtf8();
    check(db_, engineCall(&ticks_, [&] {
              return sqlite3_exec(db_, text.constData(), nullptr, nullptr, nullptr);
          }));
}

std::unique_ptr<DatabaseStatement> EngineConnection::prepare(const QString& sql) {
    if (!db_)
        fail(nullptr, SQLITE_MISUSE);
    sqlite3_stmt* statement = nullptr;
    const QByteArray text = sql.toUtf8();
    check(db_, sqlite3_prepare_v2(db_, text.constData(), int(text.size()), &statement, nullptr));
    return std::make_unique<EngineStatement>(db_, statement, &ticks_);
}
} // namespace

bool DatabaseError::damaged() const {
    return (code_ & 0xff) == SQLITE_NOTADB || (code_ & 0xff) == SQLITE_CORRUPT;
}

bool DatabaseError::cannotOpen() const {
    return (code_ & 0xff) == SQLITE_CANTOPEN;
}

bool DatabaseError::busy() const {
    return (code_ & 0xff) == SQLITE_BUSY || (code_ & 0xff) == SQLITE_LOCKED;
}

bool DatabaseError::schemaMismatch() const {
    return code_ == SQLITE_ERROR;
}

std::unique_ptr<DatabaseConnection> CreateEngineConnection() {
    return std::make_unique<EngineConnection>();
}
