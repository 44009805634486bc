#include "app/BatchMode.h"

#include "app/ConfigFiles.h"
#include "app/Dates.h"
#include "app/Engine.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QTextStream>
#include <cstdio>
#include <unistd.h>

namespace {

/// The operator of a batch run: messages on standard error, progress on a terminal, answers from the options.
class BatchOperator : public Operator {
public:
    explicit BatchOperator(QList<bool> answers) : answers_(std::move(answers)), terminal_(isatty(fileno(stderr))) {}

    void showMessage(const QString& text) override {
        clearProgress();
        QString t = text;
        t.replace(QChar(13), QChar(10));
        err() << t << Qt::endl;
    }
    bool askYesNo(const QString& text) override {
        const bool answer = answers_.isEmpty() ? false : answers_.takeFirst();
        showMessage(text + QStringLiteral(" -> ") + (answer ? QStringLiteral("Da") : QStringLiteral("Ne")));
        return answer;
    }
    void setProgressText(const QString& text) override {
        if (!terminal_) return;
        // A terminal is written a few times a second: the steps set their text several times per row.
        pending_ = text;
        if (!shownAt_.isValid() || shownAt_.elapsed() >= kProgressIntervalMs) showPending();
    }
    void processEvents() override {}
    void requestTermination() override { terminate_ = true; }
    void showFailedStatement(const QString&) override {}

    void clearProgress() {
        if (progressShown_) err() << QStringLiteral("\r\x1b[K") << Qt::flush;
        progressShown_ = false;
        pending_.clear();
    }

    /// Shows the last progress text if it was held back (the end of a step stays readable).
    void showPending() {
        if (pending_.isNull()) return;
        err() << '\r' << pending_ << QStringLiteral("\x1b[K") << Qt::flush;
        pending_ = QString();
        progressShown_ = true;
        shownAt_.start();
    }

private:
    static QTextStream& err() {
        static QTextStream stream(stderr);
        return stream;
    }
    QList<bool> answers_;
    bool terminal_;
    static constexpr qint64 kProgressIntervalMs = 200;
    bool progressShown_ = false;
    bool terminate_ = false;
    QString pending_;      ///< the progress text not yet on the terminal (null when shown)
    QElapsedTimer shownAt_; ///< when a progress text was last written
};

QTextStream& out() {
    static QTextStream stream(stdout);
    return stream;
}

int usageError(const QString& message) {
    QTextStream(stderr) << message << Qt::endl << QStringLiteral("Try 'tevra --help'.") << Qt::endl;
    return 2;
}

} // namespace

QString batchUsage() {
    return QStringLiteral(
        "Usage: tevra --batch --from YYYY-MM-DD --to YYYY-MM-DD --out FILE [--activities CODES]\n"
        "             [--unsectored continue|stop] [ALIAS [USER [PASSWORD]]]\n"
        "       tevra [ALIAS [USER [PASSWORD]]]          (opens the main window)\n"
        "\n"
        "Runs the start-up sequence and one report run without any window.\n"
        "  --from DATE          first day of the period (DATUM OD), e.g. 2026-11-01\n"
        "  --to DATE            last day of the period (DATUM DO)\n"
        "  --out FILE           the output workbook (.xlsx)\n"
        "  --activities CODES   activity codes to report, comma-separated (e.g. L,U);\n"
        "                       all codes the database offers when absent; W is always reported\n"
        "  --unsectored ANSWER  answer to the question about clients without a sector:\n"
        "                       continue (Yes) or stop (No, No; the default)\n"
        "  ALIAS USER PASSWORD  database alias and login, as for the window\n"
        "\n"
        "Messages go to standard error; on a terminal the progress is shown as it changes.\n"
        "Exit status: 0 workbook written; 1 any other failure (with the failing statement);\n"
        "2 an input check failed or bad usage; 3 no data for the period;\n"
        "4 stopped at the question about clients without a sector.\n");
}

int runBatch(const QStringList& arguments, const QString& programFilePath) {
    QString from, to, output, activities, unsectored = QStringLiteral("stop");
    bool haveActivities = false;
    QStringList positional;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        auto value = [&](QString* target) {
            if (i + 1 >= arguments.size()) return false;
            *target = arguments[++i];
            return true;
        };
        if (a == QLatin1String("--batch")) continue;
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            out() << batchUsage();
            out().flush();
            return 0;
        }
        if (a == QLatin1String("--from")) {
            if (!value(&from)) return usageError(QStringLiteral("--from needs a date"));
        } else if (a == QLatin1String("--to")) {
            if (!value(&to)) return usageError(QStringLiteral("--to needs a date"));
        } else if (a == QLatin1String("--out")) {
            if (!value(&output)) return usageError(QStringLiteral("--out needs a file name"));
        } else if (a == QLatin1String("--activities")) {
            if (!value(&activities)) return usageError(QStringLiteral("--activities needs a list of codes"));
            haveActivities = true;
        } else if (a == QLatin1String("--unsectored")) {
            if (!value(&unsectored)) return usageError(QStringLiteral("--unsectored needs continue or stop"));
        } else if (a.startsWith(QLatin1String("--"))) {
            return usageError(QStringLiteral("unknown option ") + a);
        } else {
            positional.append(a);
        }
    }
    if (positional.size() > 3) return usageError(QStringLiteral("too many arguments"));
    if (from.isEmpty() || to.isEmpty() || output.isEmpty())
        return usageError(QStringLiteral("--from, --to and --out are required"));
    const QDate fromDate = QDate::fromString(from, Qt::ISODate);
    const QDate toDate = QDate::fromString(to, Qt::ISODate);
    if (!fromDate.isValid()) return usageError(QStringLiteral("--from: not a date in the form YYYY-MM-DD: ") + from);
    if (!toDate.isValid()) return usageError(QStringLiteral("--to: not a date in the form YYYY-MM-DD: ") + to);
    if (unsectored != QLatin1String("continue") && unsectored != QLatin1String("stop"))
        return usageError(QStringLiteral("--unsectored takes continue or stop"));

    BatchOperator op(unsectored == QLatin1String("continue") ? QList<bool>{true} : QList<bool>{false, false});
    Engine engine(op, programFolder(programFilePath));
    const StartUpResult start = engine.startUp(positional, QDate::currentDate());
    if (!start.connected || !start.completed) return 1;

    RunInput input;
    input.dateFromText = shortDateText(fromDate);
    input.dateToText = shortDateText(toDate);
    input.outputPath = output;
    engine.leaveDateFrom(input.dateFromText);

    const QStringList& codes = engine.state().ActivityCodes;
    QStringList wanted;
    if (haveActivities) {
        for (const QString& c : activities.split(u',', Qt::SkipEmptyParts)) wanted.append(c.trimmed());
        for (const QString& c : std::as_const(wanted)) {
            if (c != QLatin1String("W") && !codes.mid(0, 5).contains(c))
                return usageError(QStringLiteral("--activities: the database offers no activity ") + c);
        }
    }
    for (int i = 0; i < 5; ++i) input.ticked.append(i < codes.size() && (!haveActivities || wanted.contains(codes[i])));

    const RunResult result = engine.runReport(input, false);
    op.clearProgress();
    if (result.status == RunStatus::Failed) QTextStream(stderr) << result.message << Qt::endl;
    if (result.status == RunStatus::Written) {
        out() << QStringLiteral("Workbook: ") << engine.state().OutputFileName << Qt::endl;
        out() << QStringLiteral("Trace file: ") << engine.state().ProgramFolder << QStringLiteral("TEVRA.TXT") << Qt::endl;
        out() << QStringLiteral("Report number: ") << engine.state().IdPor << Qt::endl;
    }
    return static_cast<int>(result.status);
}
