#pragma once

#include "Database.h"

// What the engine's own check says of the database file: "ok" when whole.
inline QString DatabaseIntegrity(const QString& path) {
    DatabaseConnection connection;
    connection.open(path);
    DatabaseStatement check = connection.prepare("PRAGMA integrity_check");
    check.step();
    return check.text(0).toString();
}
