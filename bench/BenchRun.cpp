#include "BenchRun.h"

#include "DataFolder.h"
#include "Form1.h"
#include "ListFile.h"
#include "OptionHandlers.h"
#include "SortRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>

BenchRun::BenchRun(const QString& root, Method method, const Setup& setup, Shown shown)
    : platform(root), window_(shown == Shown::Window ? std::make_unique<Form1>(platform) : nullptr),
      state_(window_ ? nullptr : std::make_unique<FormState>()),
      run_(window_ ? nullptr : std::make_unique<SortRun>(*state_, platform)),
      options_(window_ ? nullptr : std::make_unique<OptionHandlers>(*state_, platform)),
      form_(window_ ? &window_->state() : state_.get()) {
    platform.whereNow = [this] { return form().progressText().left(6); };
    const bool database = method == Method::Database;
    form().globals.DatabaseEngineAvailable = database;
    database ? options().setOption1(true) : options().setOption2(true);
    if (database) {
        QDir().mkpath(DataFolder(platform));
        // Runs on the same root share the working database, as runs of one user do.
        QFile::copy(QStringLiteral(AMBERVALE_TEMPLATE_DATABASE), WorkingDatabase(platform));
    }
    if (setup)
        setup(options());
    if (window_)
        window_->show();
    QCoreApplication::processEvents();
}

BenchRun::~BenchRun() = default;

OptionHandlers& BenchRun::options() {
    return window_ ? window_->options() : *options_;
}

void BenchRun::fill(const QStringList& addresses) {
    for (const QString& address : addresses)
        form().ListView1.append(address);
    QCoreApplication::processEvents();
}

void BenchRun::load(const QString& path) {
    LoadListFile(form().ListView1, platform, path);
    QCoreApplication::processEvents();
}

void BenchRun::press() {
    if (window_)
        window_->PushButton17->click();
    else
        run_->PushButton17_Click();
}
