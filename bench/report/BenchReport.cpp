// Whole-report speed: builds the demo back office at each scale and runs a report on it headless
// (collection, grouping, completion, zero rows, workbook), through SQLite and through ODBC, then
// the review's row completion and the grid over the review's result. Each run is repeated in the
// naive mode (every statement prepared anew, every trace file rewritten) for the speed-up, and the
// workbook's cells are written once more by libxlsxwriter alone for the writer's own speed.
// Every run is a process of its own on a fresh copy of the demo file, so its peak memory is its own.
//
//   bench-report [--scales 1,10,100] [--large] [--drivers sqlite,odbc] [--naive-scales LIST] [--keep FOLDER]
//   bench-report --run --scale N --folder FOLDER --driver sqlite|odbc [--naive]   (one run; used by the above)

#include "aggregate/ReportSteps.h"
#include "aggregate/ReporterIdentity.h"
#include "app/Context.h"
#include "app/TraceFiles.h"
#include "collect/PolniTemp.h"
#include "collect/ReferenceData.h"
#include "demo/DemoBackOffice.h"
#include "grid/GridDataset.h"
#include "review/ReviewData.h"
#include "store/Query.h"
#include "store/ReportNumber.h"
#include "workbook/ReportOutput.h"
#include "workbook/ReportRow.h"
#include "workbook/ReportStatements.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <xlsxwriter.h>

#include <algorithm>
#include <vector>

namespace {

const QDate kToday(2024, 6, 15);

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

QString demoFile(const QString& folder, int scale) { return folder + QStringLiteral("demo-%1.db").arg(scale); }

/// The report's worksheet cells, ready for the writer (texts already in UTF-8).
struct RawCell {
    bool number = false;
    bool codeFormat = false;
    double value = 0;
    QByteArray text;
};

/// Reads the report rows the workbook step wrote (outside any timing) and converts them as it does.
std::vector<RawCell> reportCells(Context& ctx) {
    std::vector<RawCell> cells;
    const QString decimalPoint = QLocale().decimalPoint();
    store::Query query(ctx.db);
    query.setSql(reportout::reportRowsByName(ctx.state.IdPor));
    for (query.open(); !query.eof(); query.next()) {
        for (const SheetCell& c : worksheetCells(readReportRow(query), ctx.state, decimalPoint))
            cells.push_back({c.kind == SheetCell::Kind::Number, c.codeFormat, c.number, c.text.toUtf8()});
    }
    return cells;
}

/// Seconds libxlsxwriter alone takes to write the header and `cells` (in constant-memory mode, as the report does).
double rawWorkbookSeconds(const std::vector<RawCell>& cells, const QString& path) {
    QElapsedTimer timer;
    timer.start();
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    const QByteArray file = QFile::encodeName(path);
    lxw_workbook* workbook = workbook_new_opt(file.constData(), &options);
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
    lxw_format* code = workbook_add_format(workbook);
    format_set_num_format(code, "000");
    worksheet_set_column(sheet, 0, kReportColumns - 1, 25, nullptr);
    for (int c = 0; c < kReportColumns; ++c)
        worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), columnLabels()[c].toUtf8().constData(), nullptr);
    for (size_t i = 0; i < cells.size(); ++i) {
        const RawCell& cell = cells[i];
        const auto row = static_cast<lxw_row_t>(1 + i / kReportColumns);
        const auto col = static_cast<lxw_col_t>(i % kReportColumns);
        lxw_format* format = cell.codeFormat ? code : nullptr;
        if (cell.number) worksheet_write_number(sheet, row, col, cell.value, format);
        else if (!cell.text.isEmpty()) worksheet_write_string(sheet, row, col, cell.text.constData(), format);
        else if (format) worksheet_write_blank(sheet, row, col, format);
    }
    workbook_close(workbook);
    return timer.nsecsElapsed() / 1e9;
}

/// One run: the report at one scale through one driver, printed as one "RESULT key=value ..." line.
int runOnce(int scale, const QString& folder, const QString& driver, bool naive) {
    QTextStream out(stdout);
    const QString tag = QStringLiteral("%1-%2-%3").arg(driver).arg(scale).arg(naive ? "naive" : "normal");
    const QString runFolder = folder + tag + u'/';
    QDir().mkpath(runFolder);
    // A fresh copy: every run starts from the same work tables.
    const QString file = runFolder + QStringLiteral("backoffice.db");
    QFile::remove(file);
    if (!QFile::copy(demoFile(folder, scale), file)) {
        out << tag << ": cannot copy the demo file" << Qt::endl;
        return 1;
    }

    RunState state;
    store::Database db;
    QuietOperator op;
    TraceFiles trace(runFolder);
    Context ctx{state, db, op, trace};
    store::AliasDefinition alias;
    if (driver == QLatin1String("odbc")) {
        alias.kind = store::AliasDefinition::Kind::Odbc;
        alias.database = QStringLiteral("DRIVER=SQLite3;Database=") + file;
    } else {
        alias.kind = store::AliasDefinition::Kind::Sqlite;
        alias.database = file;
    }
    QString error;
    if (!db.open(QStringLiteral("LB"), alias, &error)) {
        out << tag << ": " << error << Qt::endl;
        return 1;
    }
    db.setReusePrepared(!naive);
    trace.setAlwaysRewrite(naive);
    state.ProgramFolder = runFolder;
    state.OutputFileName = runFolder + QStringLiteral("report.xlsx");
    BeriDejavnosti(ctx);
    const QDate periodFrom = QDate(kToday.year(), kToday.month(), 1).addMonths(-1);
    const QDate periodTo = periodFrom.addMonths(1).addDays(-1);
    Euroobd(ctx, periodFrom);
    PomoznaPolja(ctx);
    const QList<bool> ticked(5, true);
    state.SfdjvList = buildSfdjvList(state.ActivityCodes, ticked);
    DolociIdPor(ctx, periodFrom, periodTo);

    QMap<QString, QString> result;
    auto put = [&](const char* key, auto value) { result.insert(QLatin1String(key), QVariant(value).toString()); };
    QElapsedTimer timer;
    double total = 0;
    auto step = [&](const char* key, auto&& work) {
        timer.start();
        work();
        const double seconds = timer.nsecsElapsed() / 1e9;
        total += seconds;
        put(key, seconds);
    };
    const store::EngineStats before = db.stats();
    int details = 0;
    int positions = 0;
    step("collect", [&] {
        details = PolniTemp(ctx);
        positions = state.ProgressTotal;
    });
    step("group", [&] { GrupirajTemp(ctx); });
    step("complete", [&] { PolniOstalaPolja(ctx); });
    step("zero", [&] { BrisiNicelne(ctx); });
    step("workbook", [&] {
        state.SheetRow = 1;
        ReportOutput output(ctx);
        output.GlavaExcel();
        output.PrepisVExcel();
        output.OdpriExcel(false);
        output.closeTraceFile();
    });
    const store::EngineStats after = db.stats();
    put("positions", positions);
    put("details", details);
    put("reportRows", state.ProgressTotal);
    put("total", total);
    put("statements", after.executions - before.executions);
    put("prepares", after.prepares - before.prepares);
    put("engine", (after.engineNanos - before.engineNanos) / 1e9);
    put("peakMb", peakMemoryKb() / 1024.0);

    if (!naive) {
        const std::vector<RawCell> cells = reportCells(ctx);
        put("rawWorkbook", rawWorkbookSeconds(cells, runFolder + QStringLiteral("raw.xlsx")));
    }

    // The review of this report and the grid over its result.
    const store::EngineStats reviewBefore = db.stats();
    qint32 reviewNumber = 0;
    timer.start();
    reviewNumber = ReviewData(ctx).complete(periodFrom, periodTo, ticked);
    put("review", timer.nsecsElapsed() / 1e9);
    put("reviewStatements", db.stats().executions - reviewBefore.executions);
    timer.start();
    {
        GridDataset dataset(db.connection(), ReviewData::displayStatement(reviewNumber));
        dataset.open();
        dataset.last();
        if (dataset.recordCount() > 0) (void)dataset.value(*dataset.field(0));
        put("gridRows", dataset.recordCount());
    }
    put("grid", timer.nsecsElapsed() / 1e9);

    out << "RESULT driver=" << driver << " scale=" << scale << " mode=" << (naive ? "naive" : "normal");
    for (auto it = result.cbegin(); it != result.cend(); ++it) out << ' ' << it.key() << '=' << it.value();
    out << Qt::endl;
    return 0;
}

using Run = QMap<QString, QString>;

/// Runs one measurement in a child process and returns its figures (empty when it failed).
Run childRun(const QString& program, int scale, const QString& folder, const QString& driver, bool naive) {
    QStringList args{QStringLiteral("--run"), QStringLiteral("--scale"), QString::number(scale),
                     QStringLiteral("--folder"), folder, QStringLiteral("--driver"), driver};
    if (naive) args << QStringLiteral("--naive");
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(program, args);
    child.waitForFinished(-1);
    Run run;
    for (const QString& line : QString::fromUtf8(child.readAllStandardOutput()).split(u'\n')) {
        if (!line.startsWith(QLatin1String("RESULT "))) {
            if (!line.trimmed().isEmpty()) QTextStream(stderr) << line << Qt::endl;
            continue;
        }
        for (const QString& pair : line.mid(7).split(u' ', Qt::SkipEmptyParts)) {
            const qsizetype eq = pair.indexOf(u'=');
            run.insert(pair.left(eq), pair.mid(eq + 1));
        }
    }
    return run;
}

double num(const Run& r, const char* key) { return r.value(QLatin1String(key)).toDouble(); }

QString fixed(double v, int decimals) { return QString::number(v, 'f', decimals); }

QString verdict(bool met) { return met ? QStringLiteral("met") : QStringLiteral("MISSED"); }

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    auto option = [&](const char* name, const QString& fallback) {
        const qsizetype i = args.indexOf(QLatin1String(name));
        return i >= 0 && i + 1 < args.size() ? args[i + 1] : fallback;
    };
    if (args.contains(QStringLiteral("--run"))) {
        try {
            return runOnce(option("--scale", QStringLiteral("1")).toInt(), option("--folder", {}),
                           option("--driver", QStringLiteral("sqlite")), args.contains(QStringLiteral("--naive")));
        } catch (const std::exception& e) {
            QTextStream(stdout) << "run failed: " << e.what() << Qt::endl;
            return 1;
        }
    }

    QStringList scales = option("--scales", QStringLiteral("1,10,100")).split(u',', Qt::SkipEmptyParts);
    if (args.contains(QStringLiteral("--large"))) scales << QStringLiteral("1000");
    const QStringList drivers = option("--drivers", QStringLiteral("sqlite,odbc")).split(u',', Qt::SkipEmptyParts);
    const QStringList naiveScales = option("--naive-scales", scales.join(u',')).split(u',', Qt::SkipEmptyParts);
    QTemporaryDir temporary;
    QString folder = option("--keep", temporary.path());
    if (!folder.endsWith(u'/')) folder += u'/';
    QDir().mkpath(folder);

    QTextStream out(stdout);
    for (const QString& scale : std::as_const(scales)) {
        const QString file = demoFile(folder, scale.toInt());
        if (QFile::exists(file)) continue;
        demo::GeneratorOptions options;
        options.scale = scale.toInt();
        options.today = kToday;
        QString error;
        if (!demo::createDemoFile(file, options, nullptr, &error)) {
            out << "scale " << scale << ": " << error << Qt::endl;
            return 1;
        }
    }

    QMap<QString, Run> runs; // by "driver/scale/mode"
    auto key = [](const QString& driver, int scale, bool naive) {
        return driver + u'/' + QString::number(scale) + (naive ? QStringLiteral("/naive") : QStringLiteral("/normal"));
    };
    int status = 0;
    for (const QString& driver : drivers) {
        for (const QString& scale : std::as_const(scales)) {
            for (bool naive : {false, true}) {
                if (naive && !naiveScales.contains(scale)) continue;
                const Run run = childRun(app.applicationFilePath(), scale.toInt(), folder, driver, naive);
                if (run.isEmpty()) {
                    out << driver << " scale " << scale << (naive ? " naive" : "") << ": the run failed" << Qt::endl;
                    status = 1;
                    continue;
                }
                runs.insert(key(driver, scale.toInt(), naive), run);
            }
        }
    }

    out << Qt::endl
        << QStringLiteral("%1 %2 %3 %4 %5 | %6 %7 %8 %9 %10 %11 | %12 %13 %14 | %15 %16 | %17 %18 | %19")
               .arg(QStringLiteral("driver"), -6)
               .arg(QStringLiteral("scale"), 5)
               .arg(QStringLiteral("positions"), 9)
               .arg(QStringLiteral("details"), 7)
               .arg(QStringLiteral("report"), 6)
               .arg(QStringLiteral("collect"), 7)
               .arg(QStringLiteral("group"), 6)
               .arg(QStringLiteral("complete"), 8)
               .arg(QStringLiteral("zero"), 6)
               .arg(QStringLiteral("wbook"), 6)
               .arg(QStringLiteral("total s"), 7)
               .arg(QStringLiteral("stmts"), 8)
               .arg(QStringLiteral("engine s"), 8)
               .arg(QStringLiteral("tot/eng"), 7)
               .arg(QStringLiteral("peak MB"), 7)
               .arg(QStringLiteral("rows/s"), 8)
               .arg(QStringLiteral("naive s"), 7)
               .arg(QStringLiteral("speed-up"), 8)
               .arg(QStringLiteral("review s (stmts) | grid s (rows)"))
        << Qt::endl;
    for (const QString& driver : drivers) {
        for (const QString& scale : std::as_const(scales)) {
            const Run r = runs.value(key(driver, scale.toInt(), false));
            if (r.isEmpty()) continue;
            const Run n = runs.value(key(driver, scale.toInt(), true));
            out << QStringLiteral("%1 %2 %3 %4 %5 | %6 %7 %8 %9 %10 %11 | %12 %13 %14 | %15 %16 | %17 %18 | %19 (%20) | %21 (%22)")
                       .arg(driver, -6)
                       .arg(scale, 5)
                       .arg(r.value(QStringLiteral("positions")), 9)
                       .arg(r.value(QStringLiteral("details")), 7)
                       .arg(r.value(QStringLiteral("reportRows")), 6)
                       .arg(fixed(num(r, "collect"), 2), 7)
                       .arg(fixed(num(r, "group"), 3), 6)
                       .arg(fixed(num(r, "complete"), 2), 8)
                       .arg(fixed(num(r, "zero"), 3), 6)
                       .arg(fixed(num(r, "workbook"), 3), 6)
                       .arg(fixed(num(r, "total"), 2), 7)
                       .arg(r.value(QStringLiteral("statements")), 8)
                       .arg(fixed(num(r, "engine"), 2), 8)
                       .arg(fixed(num(r, "total") / num(r, "engine"), 2), 7)
                       .arg(fixed(num(r, "peakMb"), 1), 7)
                       .arg(fixed(num(r, "reportRows") / num(r, "workbook"), 0), 8)
                       .arg(n.isEmpty() ? QStringLiteral("-") : fixed(num(n, "total"), 2), 7)
                       .arg(n.isEmpty() ? QStringLiteral("-") : fixed(num(n, "total") / num(r, "total"), 1) + u'x', 8)
                       .arg(fixed(num(r, "review"), 2))
                       .arg(r.value(QStringLiteral("reviewStatements")))
                       .arg(fixed(num(r, "grid"), 3))
                       .arg(r.value(QStringLiteral("gridRows")))
                << Qt::endl;
        }
    }

    // The targets, for each driver: at scale 100 against scale 10.
    out << Qt::endl;
    for (const QString& driver : drivers) {
        const Run big = runs.value(key(driver, 100, false));
        const Run small = runs.value(key(driver, 10, false));
        const Run naive = runs.value(key(driver, 100, true));
        if (big.isEmpty()) continue;
        const double overhead = num(big, "total") / num(big, "engine");
        out << driver << ": total / engine time at scale 100 = " << fixed(overhead, 2) << " (at most 1.25: "
            << verdict(overhead <= 1.25) << ')' << Qt::endl;
        if (!naive.isEmpty()) {
            const double speedUp = num(naive, "total") / num(big, "total");
            out << driver << ": speed-up over the naive mode at scale 100 = " << fixed(speedUp, 1)
                << "x (at least 5: " << verdict(speedUp >= 5) << ')' << Qt::endl;
        }
        if (!small.isEmpty()) {
            const double perPosition = (num(big, "total") / num(big, "positions")) /
                                       (num(small, "total") / num(small, "positions"));
            const double memory = num(big, "peakMb") / num(small, "peakMb");
            out << driver << ": time per position, scale 100 / scale 10 = " << fixed(perPosition, 2)
                << " (at most 1.2: " << verdict(perPosition <= 1.2) << "); peak memory 100 / 10 = " << fixed(memory, 2)
                << " (at most 1.5: " << verdict(memory <= 1.5) << ')' << Qt::endl;
        }
        if (num(big, "rawWorkbook") > 0) {
            const double ours = num(big, "reportRows") / num(big, "workbook");
            const double raw = num(big, "reportRows") / num(big, "rawWorkbook");
            out << driver << ": workbook rows/s at scale 100 = " << fixed(ours, 0) << ", libxlsxwriter alone "
                << fixed(raw, 0) << ", ratio " << fixed(ours / raw, 2) << " (at least 0.5: " << verdict(ours / raw >= 0.5)
                << ')' << Qt::endl;
        }
    }
    return status;
}
