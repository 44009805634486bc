#pragma once

#include "app/Engine.h"
#include "app/Operator.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

namespace reliability {

/// Remembers everything the operator is told; a test may act when a progress text appears
/// (the moment the window would let pending events run).
class RecordingOperator : public Operator {
public:
    void showMessage(const QString& text) override { messages.append(text); }
    bool askYesNo(const QString& text) override {
        messages.append(text);
        return answers.isEmpty() ? false : answers.takeFirst();
    }
    void setProgressText(const QString& text) override {
        progress.append(text);
        if (onProgress) onProgress(text);
    }
    void processEvents() override {}
    void requestTermination() override { terminationRequested = true; }
    void showFailedStatement(const QString& statement) override { failedStatements.append(statement); }
    void showFile(const QString& path) override { shownFiles.append(path); }

    /// Everything shown, one text per line (for failure output and for searching).
    QString all() const { return (messages + failedStatements).join(u'\n'); }
    void clear() {
        messages.clear();
        progress.clear();
        failedStatements.clear();
        shownFiles.clear();
    }

    QStringList messages, progress, failedStatements, shownFiles;
    QList<bool> answers;
    bool terminationRequested = false;
    std::function<void(const QString&)> onProgress;
};

/// The day the demo back office is built around, and the month reported from it.
QDate demoToday();
RunInput mayInput(const QString& outputPath);

/// A program folder of its own holding a copy of the demo back office (generated once per process)
/// as db/bo.db, ALIASES.INI naming it as LB, and an output folder out/.
class ProgramHome {
public:
    ProgramHome();
    ~ProgramHome();

    QString folder() const { return folder_; } ///< with a trailing separator
    QString database() const { return folder_ + QStringLiteral("db/bo.db"); }
    QString output() const { return folder_ + QStringLiteral("out/porocilo.xlsx"); }
    QString traceFile() const { return folder_ + QStringLiteral("TEVRA.TXT"); }

    /// Runs statements on a connection of the test's own; returns the first error (empty when none).
    QString exec(const QStringList& statements);
    /// Every row of both work tables of the given report numbers, as text, in a fixed order.
    QStringList workRows(const QList<int>& reportNumbers);

    void write(const QString& name, const QByteArray& bytes);

private:
    QTemporaryDir dir_;
    QString folder_;
};

QByteArray fileBytes(const QString& path);
/// Hidden temporary files an interrupted output could have left in a folder.
QStringList leftovers(const QString& folder);

/// Makes a file or folder immutable (even root cannot change it) until the object ends;
/// ok() is false where the file system or the privileges do not allow it.
class Immutable {
public:
    explicit Immutable(QString path);
    ~Immutable();
    bool ok() const { return ok_; }
    void release();

private:
    QString path_;
    bool ok_ = false;
};

/// Collects what is written to the process's standard error (file descriptor 2) while it lives.
class CapturedStderr {
public:
    CapturedStderr();
    ~CapturedStderr();
    /// Stops capturing and returns what was written.
    QString finish();

private:
    QTemporaryDir dir_;
    QString path_;
    int saved_ = -1;
};

/// Runs the batch mode in this process with TEVRA_HOME set to `home`.
int runBatchIn(const QString& home, const QStringList& arguments);

} // namespace reliability
