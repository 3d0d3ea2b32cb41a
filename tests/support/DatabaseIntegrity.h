#pragma once

#include "Database.h"

// What the engine's own check says of the database file: "ok" when whole.
inline QString DatabaseIntegrity(const QString& path) {
    const auto connection = CreateEngineConnection();
    connection->open(path);
    const auto check = connection->prepare("PRAGMA integrity_check");
    check->step();
    return check->text(0).toString();
}
