#pragma once

#include "Database.h"

// The engine's own connection with a check before its opening and before
// every statement that runs or steps: a script throws from a check to make
// that call fail as the engine's would.
class ScriptedConnection : public DatabaseConnection {
public:
    using Check = std::function<void()>;

    ScriptedConnection(std::unique_ptr<DatabaseConnection> real, Check beforeOpen,
                       Check beforeStatement);

    void open(const QString& path) override;
    void execute(const QString& sql) override;
    std::unique_ptr<DatabaseStatement> prepare(const QString& sql) override;
    void setTick(std::function<void()> tick) override { real_->setTick(std::move(tick)); }

private:
    std::unique_ptr<DatabaseConnection> real_;
    Check beforeOpen_;
    Check beforeStatement_;
};
