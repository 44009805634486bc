#include "../aggregate/ReportHarness.h"
#include "aggregate/ReportSteps.h"
#include "app/TextFile.h"
#include "workbook/ReportOutput.h"
#include "workbook/ReportRow.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace {

const QString kPython = QStringLiteral("/usr/bin/python3");

bool haveOpenpyxl() {
    return QProcess::execute(kPython, {QStringLiteral("-c"), QStringLiteral("import openpyxl")}) == 0;
}

/// The workbook as the reader script prints it (read by a real spreadsheet reader, not by our writer).
QStringList readWorkbook(const QString& path) {
    QProcess p;
    p.start(kPython, {FixtureDb::fixturesDir() + QStringLiteral("/../workbook/read_workbook.py"), path});
    p.waitForFinished(60000);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QString pad(const QString& text, int width) { return text.left(width).leftJustified(width, u' '); }
QString num(long long v) { return QStringLiteral("%1").arg(v, 15); }

/// One expected cell: "s:text" for a text, "n:number" for a number, "c:number" for a number under "000".
struct Expected {
    QStringList cells; ///< columns 1 to 32; empty string for an empty cell
    QString trace;
};

const QString kDomestic = QStringLiteral("Domači izdajatelj d.d.");
const QString kLongName = QStringLiteral("Zelo dolgo ime podjetja za posredovanje z vrednostnimi papirji d.o.o. Ljubljana");

QString head(const char* form, const char* country) {
    return QStringLiteral("202403 12345672") + QLatin1String(form) + QLatin1String(country);
}

QStringList cells(std::initializer_list<const char*> list) {
    QStringList out;
    for (const char* c : list) out.append(QString::fromUtf8(c));
    return out;
}

/// The report of tests/fixtures/report/positions.sql, worked out by hand, in order of K16.
QList<Expected> expectedReport() {
    const QString dom = pad(kDomestic, 60);
    auto amounts = [](std::initializer_list<long long> v) {
        QString s;
        for (long long x : v) s += num(x);
        return s;
    };
    return {
        {cells({"s:202403", "s: 1234567", "s:2", "s:TRR", "s:SVN", "s:Brez Sektorja", "", "", "s:SVN",
                "s:Domači izdajatelj d.d.", "s:5000001", "s:S.11", "s:SI0000000012", "s:XYZ", "s:ES", "s:500", "s:XAU",
                "n:4", "n:1", "n:0", "n:0", "n:0", "n:1", "n:1", "n:1", "n:0", "n:0", "n:0", "n:0.4", "s:0", "s:SVN",
                "s:XAU"}),
         head("TRR", "SVN") + pad("Brez Sektorja", 60) + pad("", 7) + pad("", 5) + "SVN" + dom + "5000001" +
             pad("S.11", 5) + "SI0000000012" + pad("XYZ", 60) + pad("ES", 8) + "000000000000500" + "XAU" +
             amounts({4, 1, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0}) + "SVN" + "XAU" + "2,5"},
        {cells({"s:202403", "s: 1234567", "s:2", "s:TRR", "s:SVN", "s:Kmetija Horvat", "", "s:S.11", "s:SVN", "",
                "", "", "s:SI0000000013", "", "", "s:0", "", "n:1", "n:1", "n:0", "n:0", "n:0", "n:0", "n:7", "n:7",
                "n:0", "n:0", "n:0", "n:1", "s:0", "s:SVN", ""}),
         head("TRR", "SVN") + pad("Kmetija Horvat", 60) + pad("", 7) + pad("S.11", 5) + "SVN" + pad("", 60) +
             pad("", 7) + pad("", 5) + "SI0000000013" + pad("", 60) + pad("", 8) + "000000000000000" + pad("", 3) +
             amounts({1, 1, 0, 0, 0, 0, 7, 0, 0, 0, 1, 0}) + "SVN" + pad("", 3) + "1"},
        {cells({"s:202403", "s: 1234567", "s:2", "s:TRR", "s:SVN", "s:Občina", "s:9000003", "s:S.1313", "s:SVN",
                "s:Domači izdajatelj d.d.", "s:5000001", "s:S.11", "s:SI0000000014", "s:KRN", "s:ES", "s:2000", "c:36",
                "n:10", "n:10", "n:5", "n:3", "n:7", "n:2", "n:-5", "n:12", "n:0", "n:0", "n:0", "n:20", "s:0",
                "s:SVN", "c:36"}),
         head("TRR", "SVN") + pad(QStringLiteral("Občina"), 60) + "9000003" + pad("S.13", 5) + "SVN" + dom +
             "5000001" + pad("S.11", 5) + "SI0000000014" + pad("KRN", 60) + pad("ES", 8) + "000000000002000" + "036" +
             amounts({10, 10, 5, 3, 7, 2, 12, 0, 0, 0, 20, 0}) + "SVN" + "036" + "20"},
        {cells({"s:202403", "s: 1234567", "s:2", "s:TRR", "s:SVN", "s:S.14", "", "s:S.14", "s:SVN",
                "s:Domači izdajatelj d.d.", "s:5000001", "s:S.11", "s:SI0000000010", "s:ABC", "s:ES", "s:1000",
                "c:978", "n:1", "n:150", "n:0", "n:0", "n:20", "n:10", "n:0", "n:160", "n:40", "n:0", "n:3", "n:15",
                "s:0", "s:SVN", "c:978"}),
         head("TRR", "SVN") + pad("S.14", 60) + pad("", 7) + pad("S.14", 5) + "SVN" + dom + "5000001" +
             pad("S.11", 5) + "SI0000000010" + pad("ABC", 60) + pad("ES", 8) + "000000000001000" + "978" +
             amounts({1, 150, 0, 0, 20, 10, 160, 40, 0, 3, 15, 0}) + "SVN" + "978" + "12"},
        {cells({"s:202403", "s: 1234567", "s:2", "s:TRR", "s:SVN", "s:S.15", "", "s:S.15", "s:SVN",
                "s:Domači izdajatelj d.d.", "s:5000001", "s:S.11", "s:SI0000000012", "s:XYZ", "s:ES", "s:500",
                "s:XAU", "n:4", "n:0", "n:0", "n:0", "n:30", "n:0", "n:0", "n:30", "n:20", "n:0", "n:0", "n:3",
                "s:0", "s:SVN", "s:XAU"}),
         head("TRR", "SVN") + pad("S.15", 60) + pad("", 7) + pad("S.15", 5) + "SVN" + dom + "5000001" +
             pad("S.11", 5) + "SI0000000012" + pad("XYZ", 60) + pad("ES", 8) + "000000000000500" + "XAU" +
             amounts({4, 0, 0, 0, 30, 0, 30, 20, 0, 0, 3, 0}) + "SVN" + "XAU" + "0"},
        {cells({"s:202403", "s: 1234567", "s:2", "s:SRN", "s:AUT", "s:S.25", "", "s:S.25", "s:SVN",
                "s:Domači izdajatelj d.d.", "s:5000001", "s:S.11", "s:SI0000000010", "s:ABC", "s:ES", "s:1000",
                "c:978", "n:1", "n:2000", "n:0", "n:0", "n:500", "n:0", "n:0", "n:2500", "n:1000", "n:0", "n:0",
                "n:25", "s:0", "s:SVN", "c:978"}),
         head("SRN", "AUT") + pad("S.25", 60) + pad("", 7) + pad("S.25", 5) + "SVN" + dom + "5000001" +
             pad("S.11", 5) + "SI0000000010" + pad("ABC", 60) + pad("ES", 8) + "000000000001000" + "978" +
             amounts({1, 2000, 0, 0, 500, 0, 2500, 1000, 0, 0, 25, 0}) + "SVN" + "978" + "20"},
        {QStringList{"s:202403", "s: 1234567", "s:2", "s:TRR", "s:SVN", "s:" + kLongName, "", "s:S.11", "s:SVN",
                     "s:" + kDomestic, "s:5000001", "s:S.11", "s:SI0000000012", "s:XYZ", "s:ES", "s:500", "s:XAU",
                     "n:4", "n:3", "n:0", "n:0", "n:0", "n:0", "n:0", "n:3", "n:0", "n:0.25", "n:0", "n:3", "s:0",
                     "s:SVN", "s:XAU"},
         head("TRR", "SVN") + kLongName.left(60) + pad("", 7) + pad("S.11", 5) + "SVN" + dom + "5000001" +
             pad("S.11", 5) + "SI0000000012" + pad("XYZ", 60) + pad("ES", 8) + "000000000000500" + "XAU" +
             amounts({4, 3, 0, 0, 0, 0, 3, 0, 0, 0, 3, 0}) + "SVN" + "XAU" + "3"},
        {cells({"s:202403", "s: 1234567", "s:2", "s:TRR", "s:SVN", "s:Zupan d.o.o.", "s:8000002", "s:S.11", "s:SVN",
                "s:Domači izdajatelj d.d.", "s:5000001", "s:S.11", "s:SI0000000010", "s:ABC", "s:ES", "s:1000",
                "c:978", "n:1", "n:1000", "n:0", "n:0", "n:300", "n:300", "n:0", "n:1000", "n:150", "n:5", "n:0.7",
                "n:100", "s:1", "s:SVN", "c:978"}),
         head("TRR", "SVN") + pad("Zupan d.o.o.", 60) + "8000002" + pad("S.11", 5) + "SVN" + dom + "5000001" +
             pad("S.11", 5) + "SI0000000010" + pad("ABC", 60) + pad("ES", 8) + "000000000001000" + "978" +
             amounts({1, 1000, 0, 0, 300, 300, 1000, 150, 5, 1, 100, 1}) + "SVN" + "978" + "100"},
    };
}

/// One cell of the reader's output in the form of Expected::cells.
QString cellForm(const QString& kind, const QString& value, const QString& format) {
    if (kind == QLatin1String("s")) return QStringLiteral("s:") + value;
    QString v = value;
    if (v.endsWith(QLatin1String(".0"))) v.chop(2);
    return (format == QLatin1String("000") ? QStringLiteral("c:") : QStringLiteral("n:")) + v;
}

TEST(ReportOutput, WholeReportFromDetailRowsToWorkbookAndTraceFile) {
    if (!haveOpenpyxl()) GTEST_SKIP() << "/usr/bin/python3 has no openpyxl (install python3-openpyxl)";
    ReportHarness h;
    ASSERT_TRUE(h.fixture.runScriptFile(QStringLiteral("report/positions.sql"))) << h.fixture.error().toStdString();
    GrupirajTemp(h.ctx);
    PolniOstalaPolja(h.ctx);
    BrisiNicelne(h.ctx);
    h.state.OutputFileName = h.fixture.dir() + QStringLiteral("/porocilo.xlsx");
    h.state.SheetRow = 1;
    {
        ReportOutput out(h.ctx);
        out.setDecimalPoint(QStringLiteral(","));
        out.GlavaExcel();
        out.PrepisVExcel();
        out.OdpriExcel(true);
        out.closeTraceFile();
    }
    EXPECT_EQ(h.op.shownFiles, QStringList{h.state.OutputFileName});
    EXPECT_EQ(h.op.progress.last(), "Excel: 8./.8");
    EXPECT_TRUE(h.op.messages.isEmpty()) << h.op.messages.join(u'|').toStdString();

    const QList<Expected> expected = expectedReport();
    const QStringList lines = readWorkbook(h.state.OutputFileName);
    QHash<QPair<int, int>, QString> got;
    int widthsChecked = 0;
    for (const QString& line : lines) {
        const QStringList f = line.split(u'\t');
        if (f[0] == QLatin1String("sheets")) {
            EXPECT_EQ(f[1], "1");
        } else if (f[0] == QLatin1String("width")) {
            EXPECT_EQ(f[2], f[1].toInt() <= 32 ? QStringLiteral("25.71") : QStringLiteral("-")) << "column " << f[1].toStdString();
            ++widthsChecked;
        } else {
            got.insert({f[0].toInt(), f[1].toInt()}, cellForm(f[2], f[3], f[4]));
        }
    }
    EXPECT_EQ(widthsChecked, 33);
    for (int c = 1; c <= 32; ++c) EXPECT_EQ(got.value({1, c}), "s:" + columnLabels()[c - 1]);
    for (int r = 0; r < expected.size(); ++r)
        for (int c = 1; c <= 32; ++c)
            EXPECT_EQ(got.value({r + 2, c}), expected[r].cells[c - 1]) << "row " << r + 2 << " column " << c;
    EXPECT_FALSE(got.contains({expected.size() + 2, 1}));

    QByteArray trace;
    for (const Expected& e : expected) trace += toWindows1250(e.trace) + "\r\n";
    EXPECT_EQ(fileBytes(h.state.ProgramFolder + "TEVRA.TXT"), trace);
    EXPECT_EQ(QDir(h.fixture.dir()).entryList(QDir::Hidden | QDir::Files).filter(QStringLiteral(".porocilo")),
              QStringList());
}

TEST(ReportRowFormats, TraceAmountsReadAsPrintfWholeNumbers) {
    RunState s;
    ReportRow r;
    // Whole amounts take a shortcut past printf; every kind must still read as "%15.0f" does.
    for (double v : {0.0, -0.0, 7.0, -7.0, 2.5, -3.5, 1234567.49, 99999999999999.0, -99999999999999.0}) {
        r.k210 = v;
        r.k31 = -v;
        const QString line = traceLine(r, s, QStringLiteral(","));
        // twelve amounts from k210 on, then k313 and k314 (3 each) and ZACLOT ("0")
        const qsizetype k210 = line.size() - 1 - 6 - 12 * 15;
        EXPECT_EQ(line.mid(k210, 15), QString::asprintf("%15.0f", v)) << v;
        EXPECT_EQ(line.mid(k210 + 15, 15), QString::asprintf("%15.0f", -v)) << v;
    }
    // Wider amounts overflow their 15 positions as printf writes them.
    for (double v : {1e14, -123456789012345.0, 1e20}) {
        r.k210 = v;
        EXPECT_TRUE(traceLine(r, s, QStringLiteral(",")).contains(QString::asprintf("%15.0f", v))) << v;
    }
}

TEST(ReportRowFormats, TraceAndCellsOfSingleFields) {
    RunState s;
    ReportRow r;
    r.k12 = QStringLiteral(" 5026024123");
    r.k18 = QStringLiteral("S.1311");
    r.k16 = QStringLiteral("Adamič Šuštar Žiga");
    const struct {
        double k28;
        const char* piece16;
        const char* cell16;
    } quantities[] = {{2000000, "000000002000000", "2000000"},
                      {3000000000.0, "000003000000000", "3000000000"},
                      {2.5, "000000000000000", "2,5"},
                      {-7, "-000000000000007", "-7"},
                      {999999999999999, "999999999999999", "999999999999999"},
                      {-999999999999999, "-999999999999999", "-999999999999999"}};
    for (const auto& q : quantities) {
        r.k28 = q.k28;
        const QString line = traceLine(r, s, QStringLiteral(","));
        // pieces 1 to 15 take 11 + 60 + 7 + 5 + 3 + 60 + 7 + 5 + 12 + 60 + 8 characters here
        EXPECT_EQ(line.mid(238, q.piece16[0] == '-' ? 16 : 15), QLatin1String(q.piece16)) << q.k28;
        EXPECT_EQ(worksheetCells(r, s, QStringLiteral(","))[15].text, QLatin1String(q.cell16));
    }
    const QString line = traceLine(r, s, QStringLiteral(","));
    EXPECT_EQ(line.mid(11, 60), pad(r.k16, 60));
    EXPECT_EQ(line.mid(78, 5), "S.13 ");
    EXPECT_EQ(toWindows1250(line).size(), line.size());
    EXPECT_EQ(worksheetCells(r, s, ",")[7].text, "S.1311");
    EXPECT_EQ(worksheetCells(r, s, ",")[1].text, " 5026024123");
    s.ClientId = QStringLiteral("ZOV");
    EXPECT_EQ(worksheetCells(r, s, ",")[1].text, "5026024");
    EXPECT_TRUE(traceLine(r, s, ",").startsWith(" 5026024123"));

    const struct {
        double v;
        const char* text;
    } numbers[] = {{1, "1"}, {0.5, "0,5"}, {-1234567.25, "-1234567,25"}, {0, "0"}, {1e20, "1E20"},
                   {123456789012345, "123456789012345"}, {-999999999999999, "-999999999999999"},
                   {1e15, "1E15"}, {1234567890123456, "1,23456789012346E15"}, {-0.0, "0"}};
    for (const auto& n : numbers) EXPECT_EQ(generalNumberText(n.v, ","), QLatin1String(n.text)) << n.v;
}

TEST(ReportOutput, AFailedRunKeepsThePreviousWorkbookAndTraceFile) {
    ReportHarness h;
    h.state.OutputFileName = h.fixture.dir() + QStringLiteral("/porocilo.xlsx");
    const QString tracePath = h.state.ProgramFolder + QStringLiteral("TEVRA.TXT");
    for (const QString& path : {h.state.OutputFileName, tracePath}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("previous");
    }
    h.exec(QStringLiteral("ALTER TABLE TEMP_TEVRA RENAME TO TEMP_TEVRA_OLD"));
    {
        ReportOutput out(h.ctx);
        out.GlavaExcel();
        EXPECT_THROW(out.PrepisVExcel(), store::SqlError);
    }
    EXPECT_EQ(h.op.messages, QStringList{" SELECT * FROM  TEMP_TEVRA  WHERE IDPOR=1 ORDER BY K16 "});
    EXPECT_EQ(fileBytes(h.state.OutputFileName), "previous");
    EXPECT_EQ(fileBytes(tracePath), "previous");
    EXPECT_EQ(QDir(h.fixture.dir()).entryList(QDir::Hidden | QDir::Files).filter(QStringLiteral(".porocilo")),
              QStringList());
}

TEST(ReportOutput, AWorkbookThatCannotBeSavedIsReportedWithItsPath) {
    ReportHarness h;
    // A folder of the chosen name: the new workbook cannot take its place.
    h.state.OutputFileName = h.fixture.dir() + QStringLiteral("/porocilo.xlsx");
    ASSERT_TRUE(QDir().mkpath(h.state.OutputFileName + QStringLiteral("/x")));
    ReportOutput out(h.ctx);
    out.GlavaExcel();
    out.PrepisVExcel();
    EXPECT_THROW(out.OdpriExcel(true), std::runtime_error);
    ASSERT_EQ(h.op.messages.size(), 2);
    EXPECT_EQ(h.op.messages[0], "Po izločitvi ničelnih vrstic ni podatkov za v Excel");
    EXPECT_TRUE(h.op.messages[1].startsWith("Delovnega zvezka ni bilo mogoče shraniti v " + h.state.OutputFileName + ": "))
        << h.op.messages[1].toStdString();
    EXPECT_TRUE(h.op.shownFiles.isEmpty());
}

} // namespace
