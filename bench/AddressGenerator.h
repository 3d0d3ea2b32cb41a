#pragma once

#include <QStringList>

// Lists of addresses shaped like real ones, the same for the same seed: a few
// very large free-mail domains, a long tail of tens of thousands of small
// domains, about 5% repeated addresses, and some upper case.
QStringList GenerateAddresses(qsizetype count, quint64 seed = 1);
