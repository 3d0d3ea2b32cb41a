#include "CommandLine.h"

#include "ApplicationTitle.h"
#include "BatchOptions.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <cstdio>

CommandLine ReadCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Sorts lists of e-mail addresses by domain.\n"
                       "The list files named are loaded into the input list; with --batch\n"
                       "they are sorted without a window, as the window's options ask."));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Displays this help."));
    parser.addOption(helpOption);
    const QCommandLineOption versionOption = parser.addVersionOption();
    const BatchOptions batchOptions(parser);
    const QString files = QStringLiteral("[FILE...]");
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("List files to load."),
                                 files);
    const bool understood = parser.parse(arguments);
    // Qt names the program after the application object, which need not exist yet.
    const QString program = QFileInfo(arguments.value(0)).fileName();
    const QString help =
        QStringLiteral("Usage: %1 [options] %2\n       %1 --batch [options] FILE...\n")
            .arg(program, files) +
        parser.helpText().section(u'\n', 1);

    const bool batch = batchOptions.batchAsked(parser);
    CommandLine result;
    result.windowless = batch;
    auto badUsage = [&](const QString& problem) {
        result.mode = CommandLine::Mode::BadUsage;
        // A batch run tells each problem in one line.
        result.text =
            batch ? program + QStringLiteral(": ") + problem + u'\n' : problem + u'\n' + help;
    };
    if (parser.isSet(helpOption)) {
        result.mode = CommandLine::Mode::Answer;
        result.text = help;
    } else if (parser.isSet(versionOption)) {
        result.mode = CommandLine::Mode::Answer;
        result.text = kProductName + u' ' + QStringLiteral(AMBERVALE_VERSION) + u'\n';
    } else if (!understood) {
        badUsage(parser.errorText());
    } else if (batch) {
        auto request = batchOptions.read(parser);
        if (auto* read = std::get_if<BatchRequest>(&request)) {
            result.mode = CommandLine::Mode::Batch;
            result.batch = std::move(*read);
        } else {
            badUsage(std::get<QString>(request));
        }
    } else if (const QString stray = batchOptions.strayOption(parser); !stray.isEmpty()) {
        badUsage(QStringLiteral("%1 is an option of --batch.").arg(stray));
        result.windowless = true; // understood: no option of Qt's can be among them
    } else {
        for (const QString& file : parser.positionalArguments())
            result.files << QFileInfo(file).absoluteFilePath();
    }
    result.windowless |= result.mode == CommandLine::Mode::Answer;
    return result;
}

int EndWith(const CommandLine& commandLine) {
    const bool answer = commandLine.mode == CommandLine::Mode::Answer;
    std::fputs(commandLine.text.toLocal8Bit().constData(), answer ? stdout : stderr);
    return answer ? 0 : 2;
}
