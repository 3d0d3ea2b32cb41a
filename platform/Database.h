#pragma once

#include "AppError.h"

#include <QAnyStringView>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <functional>
#include <memory>
#include <utility>

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
    virtual ~DatabaseStatement() = default;

    // Binds parameter 1, 2, ... to a text that must stay unchanged until the
    // next step(). An empty text is stored as an empty text, never as NULL.
    // UTF-8 (the engine's own encoding) and UTF-16 are bound as they are.
    virtual void bindText(int parameter, QAnyStringView text) = 0;
    // Runs to the next row: true when one is ready, false when there are no more.
    virtual bool step() = 0;
    // Makes the statement ready to run again with newly bound values.
    virtual void reset() = 0;

    // Columns of the current row, valid until the next step().
    virtual QStringView text(int column) const = 0;
    virtual QByteArrayView utf8(int column) const = 0;
    virtual qint64 integer(int column) const = 0;
};

// A connection to a database file of the embedded engine; nothing is opened
// until open(). Its statements must not outlive it.
class DatabaseConnection {
public:
    virtual ~DatabaseConnection() = default;

    // Opens an existing database file for reading and writing. Throws when
    // the file is missing, cannot be opened, or is not a database; waits
    // (see setWait) while another connection is changing it.
    virtual void open(const QString& path) = 0;
    // Runs statements that return no rows.
    virtual void execute(const QString& sql) = 0;
    virtual std::unique_ptr<DatabaseStatement> prepare(const QString& sql) = 0;

    // Until it is replaced by an empty function, `tick` runs inside this
    // connection's statements every thousand or so engine instructions and
    // before every file read and write: one statement that takes seconds can
    // so give the window its turns. The tick must not use this connection.
    // When it throws, the statement ends and its call throws that instead.
    virtual void setTick(std::function<void()> tick) = 0;
    // While another connection, of this program or another, holds a lock that
    // a statement needs, the statement waits, calling `wait` every few
    // milliseconds. When `wait` throws, the statement ends and its call throws
    // that instead. Without a wait function the statement fails at once
    // ("database is locked"); so does one that already reads inside a
    // transaction and now needs to write, where waiting could deadlock. The
    // wait must not use this connection.
    virtual void setWait(std::function<void()> wait) = 0;
    // Until it is replaced by an empty function, `roomToGrow` is asked before
    // every write that may make one of the engine's files larger: false makes
    // the write fail as it would on a full disk.
    virtual void setRoomToGrow(std::function<bool()> roomToGrow) = 0;
};

// A connection of the engine itself. Creating one is the engine check: it
// throws AppError 3706 when the engine cannot be used.
std::unique_ptr<DatabaseConnection> CreateEngineConnection();

inline const QString kProviderNotFound =
    QStringLiteral("Provider cannot be found. It may not be properly installed.");
constexpr int kProviderNotFoundNumber = 3706;
