#include "ApplicationTitle.h"

namespace {
constexpr qsizetype kMaxTitleLength = 40;
}

QString SetApplicationTitle(const QString& displayName) {
    QString title = displayName;
    do {
        const qsizetype lastBlank = title.lastIndexOf(u' ');
        if (lastBlank < 0)
            break;
        title.truncate(lastBlank);
    } while (title.size() > kMaxTitleLength);
    return title;
}
