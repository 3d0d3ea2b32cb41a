#include "ScriptedConnection.h"

namespace {
class ScriptedStatement : public DatabaseStatement {
public:
    ScriptedStatement(std::unique_ptr<DatabaseStatement> real,
                      const ScriptedConnection::Check& beforeStep)
        : real_(std::move(real)), beforeStep_(beforeStep) {}

    void bindText(int parameter, QAnyStringView text) override { real_->bindText(parameter, text); }
    bool step() override {
        beforeStep_();
        return real_->step();
    }
    void reset() override { real_->reset(); }
    QStringView text(int column) const override { return real_->text(column); }
    QByteArrayView utf8(int column) const override { return real_->utf8(column); }
    qint64 integer(int column) const override { return real_->integer(column); }

private:
    std::unique_ptr<DatabaseStatement> real_;
    const ScriptedConnection::Check& beforeStep_;
};
} // namespace

ScriptedConnection::ScriptedConnection(std::unique_ptr<DatabaseConnection> real, Check beforeOpen,
                                       Check beforeStatement,
                                       std::function<void(const QString&)> beforeExecute,
                                       std::function<bool()> roomToGrow)
    : real_(std::move(real)), beforeOpen_(std::move(beforeOpen)),
      beforeStatement_(std::move(beforeStatement)), beforeExecute_(std::move(beforeExecute)) {
    real_->setRoomToGrow(std::move(roomToGrow));
}

void ScriptedConnection::open(const QString& path) {
    beforeOpen_();
    real_->open(path);
}

void ScriptedConnection::execute(const QString& sql) {
    beforeExecute_(sql);
    beforeStatement_();
    real_->execute(sql);
}

std::unique_ptr<DatabaseStatement> ScriptedConnection::prepare(const QString& sql) {
    return std::make_unique<ScriptedStatement>(real_->prepare(sql), beforeStatement_);
}
