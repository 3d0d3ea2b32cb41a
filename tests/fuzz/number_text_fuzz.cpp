#include "NumberTextCheck.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// libFuzzer entry: any bytes, as UTF-8, as a stored setting or the limit box's
// text. A disagreement with the plain reading is a crash, so the input is kept.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString fault =
        CheckNumberText(QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!fault.isEmpty()) {
        fprintf(stderr, "%s\n", qPrintable(fault));
        abort();
    }
    return 0;
}
