#include "BatchOptions.h"

#include "PerDomainLimit.h"

#include <QCommandLineParser>

namespace {
// Without a value name, an option is a switch.
QCommandLineOption option(const char* name, const char* description, const char* value = nullptr) {
    return QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(description),
                              QString::fromLatin1(value));
}
} // namespace

BatchOptions::BatchOptions(QCommandLineParser& parser)
    : batch_(option("batch", "Sorts the list files without a window and prints the results, "
                             "one a line. A FILE of - is standard input.")),
      method_(option("method", "With --batch: database (the default) or text.", "method")),
      removeDuplicates_(
          option("remove-duplicates", "With --batch: remove duplicates from results.")),
      uniqueDomains_(option("unique-domains",
                            "With --batch: keep unique domains, discard duplicate domains.")),
      perDomain_(
          option("per-domain", "With --batch: keep only N email addresses per domain.", "N")),
      removeContaining_(option("remove-containing",
                               "With --batch: remove results containing the text, in any case.",
                               "text")),
      keepContaining_(option("keep-containing",
                             "With --batch: remove results not containing the text, in any case.",
                             "text")),
      output_(option("output", "With --batch: save the results as a text file instead.", "file")),
      xlsx_(
          option("xlsx", "With --batch: save the results as an Excel workbook instead.", "file")) {
    parser.addOptions({batch_, method_, removeDuplicates_, uniqueDomains_, perDomain_,
                       removeContaining_, keepContaining_, output_, xlsx_});
}

bool BatchOptions::batchAsked(const QCommandLineParser& parser) const {
    return parser.isSet(batch_);
}

QString BatchOptions::strayOption(const QCommandLineParser& parser) const {
    for (const QCommandLineOption& stray : {method_, removeDuplicates_, uniqueDomains_, perDomain_,
                                            removeContaining_, keepContaining_, output_, xlsx_}) {
        if (parser.isSet(stray))
            return QStringLiteral("--") + stray.names().first();
    }
    return {};
}

std::variant<BatchRequest, QString> BatchOptions::read(const QCommandLineParser& parser) const {
    BatchRequest request;
    const QString method = parser.value(method_);
    if (method == QStringLiteral("text"))
        request.method = BatchRequest::Method::Text;
    else if (parser.isSet(method_) && method != QStringLiteral("database"))
        return QStringLiteral("--method is database or text, not '%1'.").arg(method);
    request.removeDuplicates = parser.isSet(removeDuplicates_);
    request.uniqueDomains = parser.isSet(uniqueDomains_);
    if (parser.isSet(perDomain_)) {
        if (request.uniqueDomains)
            return QStringLiteral("--unique-domains and --per-domain exclude each other.");
        const QString limit = parser.value(perDomain_);
        if (!IsNumeric(limit))
            return QStringLiteral("--per-domain=%1: You must input numeric entry.").arg(limit);
        request.perDomain = limit;
    }
    request.removeContaining = parser.values(removeContaining_);
    request.keepContaining = parser.values(keepContaining_);
    // An empty text would remove every result, or none: surely a mistake in a script.
    if (request.removeContaining.contains(QString()) || request.keepContaining.contains(QString()))
        return QStringLiteral("--remove-containing and --keep-containing need a text.");
    request.textFile = parser.value(output_);
    request.workbook = parser.value(xlsx_);
    if ((parser.isSet(output_) && request.textFile.isEmpty()) ||
        (parser.isSet(xlsx_) && request.workbook.isEmpty()))
        return QStringLiteral("--output and --xlsx need a file name.");
    request.files = parser.positionalArguments();
    if (request.files.isEmpty())
        return QStringLiteral("--batch needs a list file (- for standard input).");
    return request;
}
