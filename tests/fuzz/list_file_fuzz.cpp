#include "ListTextCheck.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// libFuzzer entry: any bytes as a list file. A disagreement with the plain
// reading is a crash, so the input is kept as an artifact.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString fault = CheckListText(QByteArrayView(data, qsizetype(size)));
    if (!fault.isEmpty()) {
        fprintf(stderr, "%s\n", qPrintable(fault));
        abort();
    }
    return 0;
}
