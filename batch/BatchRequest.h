#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// What one batch run is asked to do: the window's options, the two result
// filters (several texts each, in any order: each only takes results away)
// and where the results go.
struct BatchRequest {
    enum class Method { Database, Text };

    Method method = Method::Database;
    bool removeDuplicates = false;
    bool uniqueDomains = false;
    std::optional<QString> perDomain; // the limit as typed; a number
    QStringList removeContaining;
    QStringList keepContaining;
    QString textFile;  // as "Save Results As Text File" writes it
    QString workbook;  // as "Save Results As Excel File" fills it
    QStringList files; // as given; "-" is standard input
};
