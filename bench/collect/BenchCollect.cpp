// Collection speed: builds the demo back office at each scale and runs the detail-row collection
// on it, printing positions and statements per second and the peak memory of the process.
//
//   bench-collect [--scales 1,10,100] [--keep FOLDER] [--always-rewrite-trace]

#include "aggregate/ReporterIdentity.h"
#include "app/Context.h"
#include "app/TraceFiles.h"
#include "collect/PolniTemp.h"
#include "collect/ReferenceData.h"
#include "demo/DemoBackOffice.h"
#include "store/ReportNumber.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

namespace {

class QuietOperator : public Operator {
public:
    void showMessage(const QString& text) override { QTextStream(stderr) << text << Qt::endl; }
    bool askYesNo(const QString&) override { return true; }
    void setProgressText(const QString&) override {}
    void processEvents() override {}
    void requestTermination() override {}
};

/// Peak resident memory of the process in kB (VmHWM), or -1 when it cannot be read.
long peakMemoryKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

int runScale(int scale, const QString& folder, bool alwaysRewrite, QTextStream& out) {
    const QDate today(2024, 6, 15);
    const QString file = folder + QStringLiteral("demo-%1.db").arg(scale);
    QElapsedTimer timer;
    timer.start();
    demo::GeneratorOptions options;
    options.scale = scale;
    options.today = today;
    demo::GeneratorStats stats;
    QString error;
    if (!QFile::exists(file) && !demo::createDemoFile(file, options, &stats, &error)) {
        out << "scale " << scale << ": " << error << Qt::endl;
        return 1;
    }
    const double buildSeconds = timer.nsecsElapsed() / 1e9;

    RunState state;
    store::Database db;
    QuietOperator op;
    TraceFiles trace(folder);
    trace.setAlwaysRewrite(alwaysRewrite);
    Context ctx{state, db, op, trace};
    store::AliasDefinition alias;
    alias.kind = store::AliasDefinition::Kind::Sqlite;
    alias.database = file;
    if (!db.open(QStringLiteral("LB"), alias, &error)) {
        out << "scale " << scale << ": " << error << Qt::endl;
        return 1;
    }
    state.ProgramFolder = folder;
    BeriDejavnosti(ctx);
    const QDate from(today.year(), today.month(), 1);
    const QDate periodFrom = from.addMonths(-1);
    Euroobd(ctx, periodFrom);
    PomoznaPolja(ctx);
    state.SfdjvList = buildSfdjvList(state.ActivityCodes, QList<bool>(5, true));
    DolociIdPor(ctx, periodFrom, from.addDays(-1));

    const store::EngineStats before = db.stats();
    timer.restart();
    const int written = PolniTemp(ctx);
    const double seconds = timer.nsecsElapsed() / 1e9;
    const qint64 statements = db.stats().executions - before.executions;
    const double engineSeconds = (db.stats().engineNanos - before.engineNanos) / 1e9;

    out << QStringLiteral("scale %1: demo built in %2 s; %3 positions, %4 detail rows in %5 s: %6 positions/s, "
                          "%7 statements (%8 prepared), %9 statements/s, %10 s inside the engine; peak memory %11 MB")
               .arg(scale)
               .arg(buildSeconds, 0, 'f', 1)
               .arg(state.ProgressTotal)
               .arg(written)
               .arg(seconds, 0, 'f', 2)
               .arg(state.ProgressTotal / seconds, 0, 'f', 0)
               .arg(statements)
               .arg(db.stats().prepares - before.prepares)
               .arg(statements / seconds, 0, 'f', 0)
               .arg(engineSeconds, 0, 'f', 2)
               .arg(peakMemoryKb() / 1024.0, 0, 'f', 1)
        << Qt::endl;
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList scales = {QStringLiteral("1"), QStringLiteral("10"), QStringLiteral("100")};
    QString keep;
    bool alwaysRewrite = false;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--scales") && i + 1 < args.size()) scales = args[++i].split(u',');
        else if (args[i] == QLatin1String("--keep") && i + 1 < args.size()) keep = args[++i];
        else if (args[i] == QLatin1String("--always-rewrite-trace")) alwaysRewrite = true;
        else {
            QTextStream(stderr) << "usage: bench-collect [--scales 1,10,100] [--keep FOLDER] [--always-rewrite-trace]"
                                << Qt::endl;
            return 2;
        }
    }
    QTemporaryDir temporary;
    const QString folder = (keep.isEmpty() ? temporary.path() : keep) + u'/';
    QTextStream out(stdout);
    for (const QString& s : std::as_const(scales)) {
        try {
            if (runScale(s.toInt(), folder, alwaysRewrite, out) != 0) return 1;
        } catch (const std::exception& e) {
            out << "scale " << s << ": " << e.what() << Qt::endl;
            return 1;
        }
    }
    return 0;
}
