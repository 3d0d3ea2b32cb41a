#pragma once

#include "BatchRequest.h"

#include <QCommandLineOption>
#include <variant>

class QCommandLineParser;

// The command line options of a batch run, read into a request.
class BatchOptions {
public:
    // Adds the options to the parser, so that its help lists them.
    explicit BatchOptions(QCommandLineParser& parser);

    bool batchAsked(const QCommandLineParser& parser) const;
    // The first batch option given, when --batch is not: empty when none is.
    QString strayOption(const QCommandLineParser& parser) const;
    // The request, or what is wrong with the options, in one line.
    std::variant<BatchRequest, QString> read(const QCommandLineParser& parser) const;

private:
    QCommandLineOption batch_, method_, removeDuplicates_, uniqueDomains_, perDomain_,
        removeContaining_, keepContaining_, output_, xlsx_;
};
