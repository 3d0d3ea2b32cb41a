#include "SortingDB.h"

#include "DataFolder.h"
#include "Database.h"
#include "MethodRun.h"
#include "RowWriter.h"
#include "TextWidth.h"

#include <QByteArray>
#include <memory>
#include <optional>

namespace {
// Every statement here works on the database; a failure would repeat for
// every address, so the first one is reported and ends the run.
class DatabaseSort : MethodRun {
public:
    DatabaseSort(FormState& form, Platform& platform)
        : MethodRun(form, platform, QStringLiteral("SortingDB")) {}

    // The recordset is released before the connection, in member order.
    void run() {
        if (open() && writeRows() && query())
            walk();
    }

private:
    bool open();
    bool writeRows();
    bool query();
    void walk();
    bool listRow();
    bool addRow(int statement);
    // One numbered statement that may keep the engine busy for seconds: the
    // window gets its turns meanwhile. Only where the window already shows
    // what it has to show until the statement ends.
    template <class Body> bool runLong(int statement, Body&& body);

    // The bar as the step-by-step description leaves it after address i (from 1).
    void showWritten(qsizetype i);
    // The bar as it is after row i (from 0) of r rows.
    void showAdded(qsizetype i, qint64 r);

    std::unique_ptr<DatabaseConnection> connection_;
    QString source_ = QStringLiteral("tblEmls"); // the table the walk reads
    std::unique_ptr<DatabaseStatement> rows_;
    bool hasRow_ = false;
    QByteArray lastDomain_; // of the walk, and its rows listed so far
    int perDomain_ = 0;
    qsizetype storedChars_ = 0; // of all addresses written, at most what the results need
};

bool DatabaseSort::open() {
    return report_.run(100, [&] { connection_ = platform_.createConnection(); }) &&
           report_.run(106, [&] {
               connection_->open(WorkingDatabase(platform_));
               // The table is rebuilt at every run: no need to wait for the disk, and the
               // journal still keeps the file whole when the program is ended mid-run.
               connection_->execute(QStringLiteral("PRAGMA synchronous = OFF"));
           });
}

template <class Body> bool DatabaseSort::runLong(int statement, Body&& body) {
    connection_->setTick([this] { platform_.yieldInsideCall(); });
    const bool done = report_.run(statement, std::forward<Body>(body));
    connection_->setTick({});
    return done;
}

bool DatabaseSort::writeRows() {
    qsizetype n = 0;
    std::optional<RowWriter> insert;
    const bool ready =
        report_.run(108, [&] { connection_->execute(QStringLiteral("BEGIN")); }) &&
        runLong(110, [&] { connection_->execute(QStringLiteral("DELETE FROM tblEmls")); }) &&
        report_.run(112, [&] {
            n = form_.ListView1.count();
            insert.emplace(*connection_);
        });
    if (!ready)
        return false;

    qsizetype written = 0;
    qsizetype shown = 0;
    // The address read before the window's last turn: a stop press and a Clear List
    // or Delete there can change the list under the loop.
    QString heldOverTurn;
    for (qsizetype i = 1; i <= n && i <= form_.ListView1.count(); ++i) {
        QAnyStringView address = form_.ListView1.at(i - 1);
        if (clock_.due()) {
            // The waiting rows point into the list, which may change while the window has
            // its turn, and into heldOverTurn.
            if (!report_.run(128, [&] { insert->flush(); }))
                return false;
            heldOverTurn = address.toString();
            address = heldOverTurn;
            showWritten(i);
            shown = i;
            platform_.yield();
        }
        form_.setMousePointer(MousePointer::Busy);
        if (!report_.run(128, [&] { storedChars_ += insert->add(address); }))
            return false;
        written = i;
        if (form_.globals.StopSorting)
            break;
    }
    if (!report_.run(128, [&] { insert->flush(); }))
        return false;
    // What the bar would show had every address yielded. When the last address
    // did yield, the bar is already right, and a stop press there has reset it.
    if (written > shown)
        showWritten(written);
    insert.reset();
    return runLong(132, [&] { connection_->execute(QStringLiteral("COMMIT")); });
}

// These few yields are always real ones: the window shows the step before the
// engine sorts, which can take a while.
bool DatabaseSort::query() {
    platform_.yield();
    progress_.querying();
    platform_.yield();
    form_.ListView2.clear();
    QString rows = QStringLiteral("SELECT Email, Domain FROM tblEmls");
    // "Remove duplicates" is the query's grouping of equal rows, where the text method drops
    // repeated addresses before sorting. Grouping by Domain before Email gives the same groups
    // and lets the engine group and order in one sort.
    const bool grouped = form_.check5();
    if (grouped)
        rows += QStringLiteral(" GROUP BY Domain, Email");
    rows += QStringLiteral(" ORDER BY Domain, Email");
    platform_.yield();
    const bool opened = runLong(154, [&] {
        // Counting the groups would group again; the walk reads them from a
        // table of their own instead, which counts quickly and keeps their order.
        if (grouped) {
            connection_->execute(QStringLiteral("CREATE TEMP TABLE tblGrouped AS ") + rows);
            source_ = QStringLiteral("temp.tblGrouped");
            rows = QStringLiteral("SELECT Email, Domain FROM temp.tblGrouped ORDER BY rowid");
        }
        rows_ = connection_->prepare(rows);
        hasRow_ = rows_->step();
    });
    platform_.yield();
    return opened;
}

void DatabaseSort::walk() {
    progress_.startAdding();
    if (!hasRow_)
        return;
    qint64 r = 0;
    const bool counted = runLong(162, [&] {
        const auto count = connection_->prepare(QStringLiteral("SELECT COUNT(*) FROM ") + source_);
        count->step();
        r = count->integer(0);
    });
    if (!counted)
        return;
    // One allocation instead of a copy at every doubling of a list of millions.
    form_.ListView2.reserve(form_.ListView2.count() + r, storedChars_);
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
        if (!listRow())
            return;
        if (form_.globals.StopAdding)
            break;
        bool more = false;
        if (!report_.run(212, [&] { more = rows_->step(); }))
            return;
        if (!more)
            break;
    }
    showAdded(i, r);
}

// Both per-domain options are tested, one after the other (the text method
// lets "Keep unique domains" win); a run of rows with the same Domain is one
// domain. False when a failure ended the run.
bool DatabaseSort::listRow() {
    bool handled = false;
    if (form_.check1()) {
        handled = true;
        const QByteArrayView domain = rows_->utf8(1);
        if (domain != lastDomain_) {
            if (!addRow(184))
                return false;
            lastDomain_ = domain.toByteArray();
        }
    }
    if (form_.check2()) {
        handled = true;
        const QByteArrayView domain = rows_->utf8(1);
        if (domain != lastDomain_) {
            perDomain_ = 0;
            lastDomain_ = domain.toByteArray();
        }
        // A row is listed only while its domain has fewer listed than the limit: zero, a
        // negative limit or none lists nothing, where the text method lists one a domain.
        const std::optional<qint16> limit = limit_.last();
        if (limit && perDomain_ < *limit) {
            if (!addRow(200))
                return false;
            ++perDomain_;
        }
    }
    return handled || addRow(206);
}

bool DatabaseSort::addRow(int statement) {
    return report_.run(statement, [&] {
        // Nearly every address is ASCII, the same bytes in the engine's
        // UTF-8 as in Latin-1; any other takes the engine's own conversion.
        const QByteArrayView email = rows_->utf8(0);
        if (IsAscii(email))
            form_.ListView2.append(QLatin1StringView(email));
        else
            form_.ListView2.append(rows_->text(0));
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
    DatabaseSort(form, platform).run();
}
