#include "TextFileExport.h"

#include "ErrorReport.h"
#include "FormState.h"
#include "PathNames.h"
#include "Platform.h"

#include <QStringEncoder>
#include <algorithm>
#include <optional>

namespace {

// Collects padded lines and hands them to the file in large encoded blocks.
class PaddedLines {
public:
    PaddedLines(OutputFile& file, qsizetype width) : file_(file), width_(width) {
        pending_.reserve(kBlock + 2 * width);
    }

    void write(QAnyStringView cell) {
        VisitText(cell, [this](auto text) { pending_.append(text); });
        if (cell.size() < width_)
            pending_.resize(pending_.size() + width_ - cell.size(), u' ');
        pending_.append(QStringView(u"\t\r\n"));
        if (pending_.size() >= kBlock)
            flush();
    }

    void flush() {
        if (pending_.isEmpty())
            return;
        file_.write(encoder_.encode(pending_));
        pending_.resize(0);
    }

private:
    static constexpr qsizetype kBlock = 1 << 20;

    OutputFile& file_;
    qsizetype width_;
    QString pending_;
    QStringEncoder encoder_{QStringConverter::System};
};

// One run of SaveListviewProperlySpaced over a snapshot of the list.
class SpacedWriting {
public:
    SpacedWriting(const AddressListModel& list, const QString& fileName, Platform& platform,
                  FormState* progressBar)
        : entries_(list.snapshot()), header_(list.header()), fileName_(fileName),
          platform_(platform), clock_(platform.frameClock()), bar_(progressBar),
          writing_(QStringLiteral("Writing file: ") + FileNameFromPath(fileName)) {}

    void run() {
        ErrorReport report(platform_, QStringLiteral("Main"),
                           QStringLiteral("SaveListviewProperlySpaced"));
        report.run(100, [&] { announce(1); });
        report.run(102, [&] { measure(); });
        report.run(104, [&] { announce(10); });
        // A file that cannot be created or written would fail again at every
        // line: it is reported once, and an old file of that name stays as it was.
        const bool written =
            report.run(106, [&] { create(); }) && report.run(108, [&] { writeHeader(); }) &&
            report.run(110, [&] { announce(20); }) && report.run(112, [&] { writeEntries(); });
        if (written) {
            setBar(100, QStringLiteral("Done."));
            report.run(116, [&] {
                lines_->flush();
                file_->commit();
            });
        }
        setBar(0, kProgressBarRest);
    }

private:
    void yieldPoint() {
        if (clock_.due()) {
            showEntryProgress();
            platform_.yield();
        }
    }

    // The bar follows every entry, but only what shows when the window gets
    // a turn matters, so it is brought up to date then.
    void showEntryProgress() {
        if (!bar_ || barEntry_ == 0)
            return;
        const qsizetype count = entries_.count();
        bar_->setProgressValue((double(barEntry_) + double(count / 2000)) / double(count) * 100);
        if (barEntry_ >= 1000)
            bar_->setProgressText(writing_ + QStringLiteral(" (") +
                                  QString::number(barEntry_ / 1000 * 1000) + u')');
    }

    void setBar(double value, const QString& text) {
        if (bar_) {
            bar_->setProgressValue(value);
            bar_->setProgressText(text);
        }
    }

    void announce(double value) {
        if (!bar_)
            return;
        yieldPoint();
        setBar(value, writing_);
        yieldPoint();
    }

    void measure() {
        width_ = header_.size();
        for (qsizetype i = 0; i < entries_.count(); ++i) {
            yieldPoint();
            width_ = std::max(width_, entries_.at(i).size());
        }
    }

    void create() {
        file_ = platform_.createFile(fileName_);
        lines_.emplace(*file_, width_);
    }

    void writeHeader() {
        yieldPoint();
        lines_->write(header_);
    }

    void writeEntries() {
        for (qsizetype j = 1; j <= entries_.count(); ++j) {
            yieldPoint();
            yieldPoint();
            if (bar_) {
                yieldPoint();
                barEntry_ = j;
                yieldPoint();
            }
            lines_->write(entries_.at(j - 1));
        }
    }

    const AddressStore entries_;
    const QString header_;
    const QString fileName_;
    Platform& platform_;
    FrameClock& clock_;
    FormState* bar_;
    const QString writing_;
    qsizetype width_ = 0;
    qsizetype barEntry_ = 0; // the last entry whose progress the bar should show
    std::unique_ptr<OutputFile> file_;
    std::optional<PaddedLines> lines_;
};
} // namespace

void SaveListviewProperlySpaced(const AddressListModel& list, const QString& fileName,
                                Platform& platform, FormState* progressBar) {
    SpacedWriting(list, fileName, platform, progressBar).run();
}

void SaveResultsAsTextFile(FormState& form, Platform& platform) {
    ErrorReport report(platform, QStringLiteral("Form1"), QStringLiteral("PushButton4_Click"));
    QString fileName;
    report.run(100, [&] {
        fileName = platform.saveFileDialog(
            {QStringLiteral("Save"), kTextFilesFilter, false, form.dialogFileName()});
    });
    if (fileName.isEmpty())
        return;
    form.setDialogFileName(fileName);
    form.setMousePointer(MousePointer::Busy);
    report.run(106, [&] { SaveListviewProperlySpaced(form.ListView2, fileName, platform, &form); });
    form.setMousePointer(MousePointer::Default);
}
