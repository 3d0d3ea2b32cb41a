#pragma once

#include "Database.h"

// The engine's own connection with a check before its opening and before
// every statement that runs or steps: a script throws from a check to make
// that call fail as the engine's would. `roomToGrow` answering false fills
// the disk under the engine's files. `beforeExecute` also sees the text of a
// statement run without a recordset, before its check.
class ScriptedConnection : public DatabaseConnection {
public:
    using Check = std::function<void()>;

    ScriptedConnection(std::unique_ptr<DatabaseConnection> real, Check beforeOpen,
                       Check beforeStatement, std::function<void(const QString&)> beforeExecute,
                       std::function<bool()> roomToGrow);

    void open(const QString& path) override;
    void execute(const QString& sql) override;
    std::unique_ptr<DatabaseStatement> prepare(const QString& sql) override;
    void setTick(std::function<void()> tick) override { real_->setTick(std::move(tick)); }
    void setWait(std::function<void()> wait) override { real_->setWait(std::move(wait)); }
    void setRoomToGrow(std::function<bool()> roomToGrow) override {
        real_->setRoomToGrow(std::move(roomToGrow));
    }

private:
    std::unique_ptr<DatabaseConnection> real_;
    Check beforeOpen_;
    Check beforeStatement_;
    std::function<void(const QString&)> beforeExecute_;
};
