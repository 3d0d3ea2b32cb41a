#pragma once

#include <QIcon>
#include <QList>

inline const QList<int> kProgramIconSizes{48, 64, 128, 256};

// The program's icon in every size it ships in, for its windows and boxes.
QIcon ProgramIcon();
