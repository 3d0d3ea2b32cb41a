#include "CommandLine.h"

#include "ApplicationTitle.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <cstdio>

CommandLine ReadCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Sorts lists of e-mail addresses by domain.\n"
                       "The list files named are loaded into the input list."));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Displays this help."));
    parser.addOption(helpOption);
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QString files = QStringLiteral("[FILE...]");
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("List files to load."),
                                 files);
    const bool understood = parser.parse(arguments);
    // Qt names the program after the application object, which need not exist yet.
    const QString help = QStringLiteral("Usage: %1 [options] %2\n")
                             .arg(QFileInfo(arguments.value(0)).fileName(), files) +
                         parser.helpText().section(u'\n', 1);

    CommandLine result;
    if (parser.isSet(helpOption)) {
        result.mode = CommandLine::Mode::Answer;
        result.text = help;
    } else if (parser.isSet(versionOption)) {
        result.mode = CommandLine::Mode::Answer;
        result.text = kProductName + u' ' + QStringLiteral(AMBERVALE_VERSION) + u'\n';
    } else if (!understood) {
        result.mode = CommandLine::Mode::BadUsage;
        result.text = parser.errorText() + u'\n' + help;
    } else {
        for (const QString& file : parser.positionalArguments())
            result.files << QFileInfo(file).absoluteFilePath();
    }
    return result;
}

int EndWith(const CommandLine& commandLine) {
    const bool answer = commandLine.mode == CommandLine::Mode::Answer;
    std::fputs(commandLine.text.toLocal8Bit().constData(), answer ? stdout : stderr);
    return answer ? 0 : 2;
}
