#include "ProgramIcon.h"

QIcon ProgramIcon() {
    // The images live in this static library, which nothing else references.
    Q_INIT_RESOURCE(resources);
    QIcon icon;
    for (int size : kProgramIconSizes)
        icon.addFile(QStringLiteral(":/icons/ambervale-%1.png").arg(size), QSize(size, size));
    return icon;
}
