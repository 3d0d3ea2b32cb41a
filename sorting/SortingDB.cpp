#include "SortingDB.h"

#include "DataFolder.h"
#include "Database.h"
#include "FetchedRows.h"
#include "MethodRun.h"
#include "RowWriter.h"
#include "TextWidth.h"
#include "WorkingDatabase.h"

#include <QByteArray>
#include <memory>
#include <new>
#include <optional>

namespace {
// A stop press while the run waited for another window's run: it ends
// without a word, having written nothing.
struct StoppedWaiting {};

// Every statement here works on the database; a failure would repeat for
// every address, so the first one is reported and ends the run.
//
// Another window may run on the same file. A run holds the engine's write
// lock from before it empties the table until its own rows are read back,
// so it lists exactly the rows it wrote; the other run waits for the lock
// when it opens the file or takes the lock, before its first step shows
// anything, with its window live.
class DatabaseSort : MethodRun {
public:
    // With `mayReplace`, a working database that cannot serve the run is
    // left for the caller to replace instead of being reported.
    DatabaseSort(FormState& form, Platform& platform, bool mayReplace)
        : MethodRun(form, platform, QStringLiteral("SortingDB")), mayReplace_(mayReplace) {}

    std::optional<UnfitDatabase> run() {
        try {
            const bool whole = open() && writeRows() && query() && walk();
            // The rows are kept for the next run to empty only when nothing
            // failed: a failure is reported once, and the file keeps what it
            // held before. The recordset is released first.
            rows_.reset();
            if (whole)
                runLong(220, [&] { connection_->execute(QStringLiteral("COMMIT")); });
        } catch (const StoppedWaiting&) {
        }
        return unfit_;
    }

private:
    bool open();
    bool writeRows();
    bool query();
    // False when a statement failed.
    bool walk();
    template <class Rows> bool walkRows(Rows& rows, qint64 r);
    template <class Rows> bool listRow(Rows& rows);
    template <class Rows> bool addRow(Rows& rows, int statement);
    // One numbered statement on the database. A failure that shows the file
    // cannot serve any run is kept in unfit_ when the caller may replace it.
    template <class Body> bool onDatabase(int statement, Body&& body);
    // The same for a statement that may keep the engine busy for seconds:
    // the window gets its turns meanwhile. Only where the window already
    // shows what it has to show until the statement ends.
    template <class Body> bool runLong(int statement, Body&& body);

    // The bar as the step-by-step description leaves it after address i (from 1).
    void showWritten(qsizetype i);
    // The bar as it is after row i (from 0) of r rows.
    void showAdded(qsizetype i, qint64 r);

    const bool mayReplace_;
    std::optional<UnfitDatabase> unfit_;
    std::unique_ptr<DatabaseConnection> connection_;
    std::unique_ptr<DatabaseStatement> rows_;
    std::optional<FetchedRows> fetched_; // rows_ read ahead, when they must be counted first
    qsizetype written_ = 0;              // addresses, all in tblEmls once step 1 ended well
    bool hasRow_ = false;
    QByteArray lastDomain_; // of the walk, and its rows listed so far
    int perDomain_ = 0;
    qsizetype storedChars_ = 0; // of all addresses written, at most what the results need
};

template <class Body> bool DatabaseSort::onDatabase(int statement, Body&& body) {
    const bool done = report_.run(statement, [&] {
        try {
            body();
        } catch (const DatabaseError& error) {
            if (!mayReplace_ || !CannotServe(error, *connection_))
                throw;
            unfit_ = UnfitDatabase{statement, error};
        }
    });
    return done && !unfit_;
}

bool DatabaseSort::open() {
    if (!report_.run(100, [&] { connection_ = platform_.createConnection(); }))
        return false;
    // Waiting comes before anything of the run shows.
    connection_->setWait([this] {
        platform_.yieldWhileWaiting();
        if (form_.globals.StopSorting)
            throw StoppedWaiting();
    });
    return onDatabase(106, [&] {
        connection_->open(WorkingDatabase(platform_));
        // The table is rebuilt at every run: no need to wait for the disk, and the
        // journal still keeps the file whole when the program is ended mid-run.
        connection_->execute(QStringLiteral("PRAGMA synchronous = OFF"));
        // The ordered query sorts in pieces the size of the page cache: small ones
        // stay in the processor's cache, and the window gets its turns sooner.
        connection_->execute(QStringLiteral("PRAGMA cache_size = -1000"));
        // The engine sorts on both cores; its own threads never take the window's turns.
        connection_->execute(QStringLiteral("PRAGMA threads = 2"));
        // The engine as packaged overwrites every emptied page with zeros, which the
        // journal must copy first; the next rows overwrite those pages anyway.
        connection_->execute(QStringLiteral("PRAGMA secure_delete = OFF"));
    });
}

template <class Body> bool DatabaseSort::runLong(int statement, Body&& body) {
    connection_->setTick([this] { platform_.yieldInsideCall(); });
    const bool done = onDatabase(statement, std::forward<Body>(body));
    connection_->setTick({});
    return done;
}

bool DatabaseSort::writeRows() {
    qsizetype n = 0;
    std::optional<RowWriter> insert;
    // Takes the write lock at once, waiting for another window's run if it holds it.
    const auto begin = [&] {
        return onDatabase(108, [&] { connection_->execute(QStringLiteral("BEGIN EXCLUSIVE")); });
    };
    const auto empty = [&] {
        return runLong(110, [&] { connection_->execute(QStringLiteral("DELETE FROM tblEmls")); });
    };
    const auto prepare = [&] {
        return onDatabase(112, [&] {
            n = form_.ListView1.count();
            insert.emplace(*connection_);
        });
    };
    const auto commit = [&] {
        return onDatabase(110, [&] { connection_->execute(QStringLiteral("COMMIT")); });
    };
    // The last run's rows are emptied in a transaction of their own, once the file
    // has shown it can take the rows: their pages are then free when the run's own
    // transaction starts, and the new rows take them without the journal first
    // keeping a copy of each. A later failure leaves the table empty. After the
    // run's own BEGIN no statement waits for another window and none reads rows
    // that another run wrote; the table is emptied again for a run of another
    // window that may have written in between.
    const bool ready = begin() && empty() && prepare() && commit() && begin() && empty();
    if (!ready)
        return false;

    qsizetype shown = 0;
    // The address read before the window's last turn: a stop press and a Clear List
    // or Delete there can change the list under the loop.
    QString heldOverTurn;
    for (qsizetype i = 1; i <= n && i <= form_.ListView1.count(); ++i) {
        QAnyStringView address = form_.ListView1.at(i - 1);
        if (clock_.due()) {
            // The waiting rows point into the list, which may change while the window has
            // its turn, and into heldOverTurn.
            if (!onDatabase(128, [&] { insert->flush(); }))
                return false;
            heldOverTurn = address.toString();
            address = heldOverTurn;
            showWritten(i);
            shown = i;
            platform_.yield();
        }
        form_.setMousePointer(MousePointer::Busy);
        if (!onDatabase(128, [&] { storedChars_ += insert->add(address); }))
            return false;
        written_ = i;
        if (form_.globals.StopSorting)
            break;
    }
    if (!onDatabase(128, [&] { insert->flush(); }))
        return false;
    // What the bar would show had every address yielded. When the last address
    // did yield, the bar is already right, and a stop press there has reset it.
    if (written_ > shown)
        showWritten(written_);
    return true;
}

// These few yields are always real ones: the window shows the step before the
// engine sorts, which can take a while.
bool DatabaseSort::query() {
    platform_.yield();
    progress_.querying();
    platform_.yield();
    form_.ListView2.clear();
    // "Remove duplicates" is the query's grouping of equal rows, where the text method drops
    // repeated addresses before sorting. Ordered by Domain then Email, equal rows come out
    // next to each other and are grouped as they are read: the groups of GROUP BY Domain,
    // Email, for one sort instead of two.
    const QString rows = QStringLiteral("SELECT Email, Domain FROM tblEmls ORDER BY Domain, Email");
    const bool grouped = form_.check5();
    platform_.yield();
    const bool opened = runLong(154, [&] {
        rows_ = connection_->prepare(rows);
        hasRow_ = rows_->step();
        // Counting the groups would group them again: they are read to the end
        // here instead, as a client-side recordset is, and walked from memory.
        if (grouped && hasRow_) {
            fetched_.emplace();
            fetched_->reserve(written_, storedChars_);
            fetched_->fetch(*rows_);
            rows_.reset();
        }
    });
    platform_.yield();
    return opened;
}

bool DatabaseSort::walk() {
    progress_.startAdding();
    if (!hasRow_)
        return true;
    if (fetched_)
        return walkRows(*fetched_, fetched_->count());
    // The table was emptied under the same lock and took one row for each
    // address written: its rows are counted already.
    return walkRows(*rows_, written_);
}

template <class Rows> bool DatabaseSort::walkRows(Rows& rows, qint64 r) {
    // One allocation instead of a copy at every doubling of a list of millions.
    // Without that much memory in one piece the results grow as they come, and
    // the row at which memory runs out is the one reported.
    try {
        form_.ListView2.reserve(form_.ListView2.count() + r, storedChars_);
    } catch (const std::bad_alloc&) {
    }
    limit_.read(form_.text1());
    qsizetype i = 0;
    for (;; ++i) {
        if (clock_.due()) {
            if (i > 0)
                showAdded(i - 1, r);
            platform_.yield();
            // The box can change only while the window has its turn.
            limit_.read(form_.text1());
        }
        if (!listRow(rows))
            return false;
        if (form_.globals.StopAdding)
            break;
        bool more = false;
        if (!onDatabase(212, [&] { more = rows.step(); }))
            return false;
        if (!more)
            break;
    }
    showAdded(i, r);
    return true;
}

// Both per-domain options are tested, one after the other (the text method
// lets "Keep unique domains" win); a run of rows with the same Domain is one
// domain. False when a failure ended the run.
template <class Rows> bool DatabaseSort::listRow(Rows& rows) {
    bool handled = false;
    if (form_.check1()) {
        handled = true;
        const QByteArrayView domain = rows.utf8(1);
        if (domain != lastDomain_) {
            if (!addRow(rows, 184))
                return false;
            lastDomain_ = domain.toByteArray();
        }
    }
    if (form_.check2()) {
        handled = true;
        const QByteArrayView domain = rows.utf8(1);
        if (domain != lastDomain_) {
            perDomain_ = 0;
            lastDomain_ = domain.toByteArray();
        }
        // A row is listed only while its domain has fewer listed than the limit: zero, a
        // negative limit or none lists nothing, where the text method lists one a domain.
        const std::optional<qint16> limit = limit_.last();
        if (limit && perDomain_ < *limit) {
            if (!addRow(rows, 200))
                return false;
            ++perDomain_;
        }
    }
    return handled || addRow(rows, 206);
}

template <class Rows> bool DatabaseSort::addRow(Rows& rows, int statement) {
    return report_.run(statement, [&] {
        // Nearly every address is ASCII, the same bytes in the engine's
        // UTF-8 as in Latin-1; any other takes the engine's own conversion.
        const QByteArrayView email = rows.utf8(0);
        if (IsAscii(email))
            form_.ListView2.append(QLatin1StringView(email));
        else
            form_.ListView2.append(rows.text(0));
    });
}

void DatabaseSort::showWritten(qsizetype i) {
    progress_.collecting(i, form_.ListView1.count(), form_.ListView1.at(i - 1));
}

// Counted from 1 of r + 1 and not cut to a whole number, where the text method takes the
// integer part of i / m x 100.
void DatabaseSort::showAdded(qsizetype i, qint64 r) {
    progress_.adding(i, double(i + 1) / double(r + 1) * 100);
}
} // namespace

void SortingDB(FormState& form, Platform& platform) {
    std::optional<UnfitDatabase> unfit;
    {
        DatabaseSort first(form, platform, true);
        unfit = first.run();
        // Its connection closes before the file is set aside.
    }
    if (unfit) {
        ErrorReport report(platform, QStringLiteral("Sorting"), QStringLiteral("SortingDB"));
        if (ReplaceUnfitDatabase(platform, report, *unfit))
            DatabaseSort(form, platform, false).run();
    }
}
