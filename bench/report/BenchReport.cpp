// Whole-report speed: builds the demo back office at each scale and runs a report on it
// (collection, grouping, completion, zero rows, workbook), printing the time of each step and
// the peak memory. Each scale runs in a process of its own, so its peak memory is its own.
//
//   bench-report [--scales 1,10,100] [--keep FOLDER]
//   bench-report --scale N --folder FOLDER        (one scale; used by the above)

#include "aggregate/ReportSteps.h"
#include "aggregate/ReporterIdentity.h"
#include "app/Context.h"
#include "app/TraceFiles.h"
#include "collect/PolniTemp.h"
#include "collect/ReferenceData.h"
#include "demo/DemoBackOffice.h"
#include "store/ReportNumber.h"
#include "workbook/ReportOutput.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

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
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

int runScale(int scale, const QString& folder) {
    QTextStream out(stdout);
    const QDate today(2024, 6, 15);
    const QString file = folder + QStringLiteral("demo-%1.db").arg(scale);
    QString error;
    if (!QFile::exists(file)) {
        demo::GeneratorOptions options;
        options.scale = scale;
        options.today = today;
        if (!demo::createDemoFile(file, options, nullptr, &error)) {
            out << "scale " << scale << ": " << error << Qt::endl;
            return 1;
        }
    }
    const long afterBuildKb = peakMemoryKb();

    RunState state;
    store::Database db;
    QuietOperator op;
    TraceFiles trace(folder);
    Context ctx{state, db, op, trace};
    store::AliasDefinition alias;
    alias.kind = store::AliasDefinition::Kind::Sqlite;
    alias.database = file;
    if (!db.open(QStringLiteral("LB"), alias, &error)) {
        out << "scale " << scale << ": " << error << Qt::endl;
        return 1;
    }
    state.ProgramFolder = folder;
    state.OutputFileName = folder + QStringLiteral("report-%1.xlsx").arg(scale);
    BeriDejavnosti(ctx);
    const QDate periodFrom = QDate(today.year(), today.month(), 1).addMonths(-1);
    Euroobd(ctx, periodFrom);
    PomoznaPolja(ctx);
    state.SfdjvList = buildSfdjvList(state.ActivityCodes, QList<bool>(5, true));
    DolociIdPor(ctx, periodFrom, periodFrom.addMonths(1).addDays(-1));

    QElapsedTimer timer;
    auto step = [&](auto&& work) {
        timer.start();
        work();
        return timer.nsecsElapsed() / 1e9;
    };
    int details = 0;
    const double collect = step([&] { details = PolniTemp(ctx); });
    const double group = step([&] { GrupirajTemp(ctx); });
    const double complete = step([&] { PolniOstalaPolja(ctx); });
    const double zero = step([&] { BrisiNicelne(ctx); });
    const double workbook = step([&] {
        state.SheetRow = 1;
        ReportOutput output(ctx);
        output.GlavaExcel();
        output.PrepisVExcel();
        output.OdpriExcel(false);
        output.closeTraceFile();
    });
    out << QStringLiteral("scale %1: %2 detail rows, %3 report rows | collection %4 s, grouping %5 s, completion "
                          "%6 s, zero rows %7 s, workbook %8 s | peak memory %9 MB (after building the data %10 MB)")
               .arg(scale)
               .arg(details)
               .arg(state.ProgressTotal)
               .arg(collect, 0, 'f', 2)
               .arg(group, 0, 'f', 2)
               .arg(complete, 0, 'f', 2)
               .arg(zero, 0, 'f', 3)
               .arg(workbook, 0, 'f', 2)
               .arg(peakMemoryKb() / 1024.0, 0, 'f', 1)
               .arg(afterBuildKb / 1024.0, 0, 'f', 1)
        << Qt::endl;
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    auto option = [&](const char* name, const QString& fallback) {
        const qsizetype i = args.indexOf(QLatin1String(name));
        return i >= 0 && i + 1 < args.size() ? args[i + 1] : fallback;
    };
    if (args.contains(QStringLiteral("--scale")))
        return runScale(option("--scale", QStringLiteral("1")).toInt(), option("--folder", {}));

    QTemporaryDir temporary;
    QString folder = option("--keep", temporary.path());
    if (!folder.endsWith(u'/')) folder += u'/';
    int status = 0;
    for (const QString& scale : option("--scales", QStringLiteral("1,10,100")).split(u',')) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(app.applicationFilePath(), {QStringLiteral("--scale"), scale, QStringLiteral("--folder"), folder});
        child.waitForFinished(-1);
        status = std::max(status, child.exitCode());
    }
    return status;
}
