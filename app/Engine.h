#pragma once

#include "app/ConfigFiles.h"
#include "app/Context.h"
#include "app/Operator.h"
#include "app/RunState.h"
#include "app/TraceFiles.h"
#include "store/Database.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

/// What the main window holds when a report run starts.
struct RunInput {
    QString dateFromText; ///< DATUM OD as typed (dd.mm.yyyy)
    QString dateToText;   ///< DATUM DO as typed
    QString outputPath;   ///< IZHODNA DATOTEKA as entered
    QList<bool> ticked;   ///< cbD1..cbD5
};

/// How a run ended; the batch mode's exit status is the enum's value.
enum class RunStatus {
    Written = 0,
    Failed = 1,
    InputRejected = 2,
    NoData = 3,
    StoppedAtUnsectored = 4,
    Refused = 5, ///< a run or review was already in progress
};

struct RunResult {
    RunStatus status = RunStatus::Failed;
    QString message; ///< for Failed: the error as the operator is told it
};

/// The values start-up proposes to the window.
struct StartUpResult {
    bool connected = false;
    bool completed = false;         ///< every start-up step ran
    std::optional<QString> outputPath; ///< from TEVRA.INI
    QDate dateFrom;
    QDate dateTo;
};

/// The report program without its windows: start-up, report run, leaving DATUM OD, exit.
/// The main window and the batch mode drive it through the same operations.
class Engine {
public:
    Engine(Operator& op, QString programFolder);
    ~Engine();

    /// The start-up sequence; runs once (later calls return at once with `completed` false).
    /// `arguments` are the positional command-line arguments: alias, user, password.
    StartUpResult startUp(const QStringList& arguments, const QDate& today);

    /// A report run (PREPIS). Refused while a run or review is in progress.
    RunResult runReport(const RunInput& input, bool showWorkbook);

    /// Leaving DATUM OD: EuroPeriod for the date now in the field.
    void leaveDateFrom(const QString& dateFromText);

    /// Exit: remembers the output path in TEVRA.INI.
    void exit(const QString& outputPath);

    /// Opens the connection again with the alias of start-up when it was lost (closed) since;
    /// returns whether the connection is open.
    bool ensureConnected();

    /// True while a run or review is in progress.
    bool busy() const { return busy_; }
    /// Marks work in progress (the review uses it too); returns false when already busy.
    bool enterBusy();
    void leaveBusy() { busy_ = false; }

    RunState& state() { return state_; }
    const RunState& state() const { return state_; }
    store::Database& database() { return db_; }
    TraceFiles& traceFiles() { return trace_; }
    Context& context() { return ctx_; }

    /// Problems found in the list files at start-up; a run does not start while there are any.
    const QList<ListFileProblem>& listFileProblems() const { return listProblems_; }

private:
    RunResult run(const RunInput& input, bool showWorkbook);

    Operator& op_;
    RunState state_;
    store::Database db_;
    TraceFiles trace_;
    Context ctx_;
    QList<ListFileProblem> listProblems_;
    std::optional<store::AliasDefinition> aliasDefinition_; ///< of the connection opened at start-up
    bool busy_ = false;
};

/// The message for an operator whose second press comes during a run or review.
QString busyMessage();
