#pragma once

#include "AppError.h"

#include <QAnyStringView>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <functional>
#include <memory>
#include <utility>

struct sqlite3;
struct sqlite3_stmt;
struct DatabaseTicks;
class DatabaseConnection;

// A failure of the engine, in its own words (a full disk in the platform's),
// with the engine's code, which tells the kinds of failure apart.
class DatabaseError : public AppError {
public:
    DatabaseError(QString description, int number, int code)
        : AppError(std::move(description), number), code_(code) {}

    // The file is no database of the engine, or a damaged one.
    bool damaged() const;
    // There is no file that could be opened: none, a folder, or one without permission.
    bool cannotOpen() const;
    // Another connection held a lock the statement needed.
    bool busy() const;
    // The statement does not fit the tables of the file: no such table or
    // column, another number of columns.
    bool schemaMismatch() const;

private:
    int code_;
};

// One prepared statement of an open database: bind values, then step
// through its rows. Failures throw AppError with the engine's own words.
class DatabaseStatement {
public:
    DatabaseStatement(DatabaseStatement&& other) noexcept;
    DatabaseStatement& operator=(DatabaseStatement&& other) noexcept;
    DatabaseStatement(const DatabaseStatement&) = delete;
    DatabaseStatement& operator=(const DatabaseStatement&) = delete;
    ~DatabaseStatement();

    // Binds parameter 1, 2, ... to a text that must stay unchanged until the
    // next step(). An empty text is stored as an empty text, never as NULL.
    // UTF-8 (the engine's own encoding) and UTF-16 are bound as they are.
    void bindText(int parameter, QAnyStringView text);
    // Runs to the next row: true when one is ready, false when there are no more.
    bool step();
    // Makes the statement ready to run again with newly bound values.
    void reset();

    // Columns of the current row, valid until the next step().
    QStringView text(int column) const;
    QByteArrayView utf8(int column) const;
    qint64 integer(int column) const;

private:
    friend class DatabaseConnection;
    DatabaseStatement(DatabaseConnection& connection, sqlite3* db, sqlite3_stmt* statement)
        : connection_(&connection), db_(db), statement_(statement) {}

    DatabaseConnection* connection_;
    sqlite3* db_;
    sqlite3_stmt* statement_;
};

// A connection to a database file of the embedded engine. Creating one is
// the engine check; nothing is opened until open().
class DatabaseConnection {
public:
    // Throws AppError 3706 when the engine cannot be used.
    DatabaseConnection();
    DatabaseConnection(const DatabaseConnection&) = delete;
    DatabaseConnection& operator=(const DatabaseConnection&) = delete;
    virtual ~DatabaseConnection();

    // Opens an existing database file for reading and writing. Throws when
    // the file is missing, cannot be opened, or is not a database; waits
    // (see setWait) while another connection is changing it.
    virtual void open(const QString& path);
    // Runs statements that return no rows.
    void execute(const QString& sql);
    DatabaseStatement prepare(const QString& sql);

    // Until it is replaced by an empty function, `tick` runs inside this
    // connection's statements every thousand or so engine instructions and
    // before every file read and write: one statement that takes seconds can
    // so give the window its turns. The tick must not use this connection.
    // When it throws, the statement ends and its call throws that instead.
    void setTick(std::function<void()> tick);
    // While another connection, of this program or another, holds a lock that
    // a statement needs, the statement waits, calling `wait` every few
    // milliseconds. When `wait` throws, the statement ends and its call throws
    // that instead. Without a wait function the statement fails at once
    // ("database is locked"); so does one that already reads inside a
    // transaction and now needs to write, where waiting could deadlock. The
    // wait must not use this connection.
    void setWait(std::function<void()> wait);

protected:
    // Called before every statement runs or steps; may throw to make it fail.
    virtual void beforeStatement() {}
    // Asked before a write that may make one of the engine's files larger:
    // false makes it fail as it would on a full disk.
    virtual bool roomToGrow() { return true; }

private:
    friend class DatabaseStatement;
    friend struct DatabaseTicks;
    sqlite3* db_ = nullptr;
    std::unique_ptr<DatabaseTicks> ticks_;
};

inline const QString kProviderNotFound =
    QStringLiteral("Provider cannot be found. It may not be properly installed.");
constexpr int kProviderNotFoundNumber = 3706;
