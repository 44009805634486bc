#pragma once

#include "app/Operator.h"
#include "store/SqlError.h"

#include <QString>
#include <stdexcept>

/// A step of the report run that this build does not have yet.
class StepNotBuilt : public std::runtime_error {
public:
    explicit StepNotBuilt(const QString& step)
        : std::runtime_error((QStringLiteral("Korak ") + step + QStringLiteral(" še ni izdelan.")).toStdString()),
          step_(step) {}
    const QString& step() const { return step_; }

private:
    QString step_;
};

/// Runs `work`; when a statement fails, shows its full text to the operator and passes the error on.
template <typename Work>
auto showingStatementOnFailure(Operator& op, Work&& work) -> decltype(work()) {
    try {
        return work();
    } catch (const store::SqlError& e) {
        op.showMessage(e.statement());
        throw;
    }
}
