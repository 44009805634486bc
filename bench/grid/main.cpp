// Opens a grid over a generated one-million-row table (offscreen) and prints how long the first paint
// and the way to the last row take, and the peak resident memory.

#include "grid/GridDataset.h"
#include "grid/GridDatasetModel.h"
#include "grid/Ufwgrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int Rows = 1000000;

QString peakMemory() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text)) return QStringLiteral("unknown");
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return QString::fromLatin1(line.mid(6).trimmed());
    return QStringLiteral("unknown");
}

bool exec(QSqlDatabase& db, const QString& sql) {
    QSqlQuery query(db);
    if (query.exec(sql)) return true;
    std::fprintf(stderr, "%s: %s\n", qPrintable(sql), qPrintable(query.lastError().text()));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench"));
        db.setDatabaseName(dir.filePath(QStringLiteral("bench.db")));
        if (!db.open()) return 1;
        QElapsedTimer fill;
        fill.start();
        if (!exec(db, QStringLiteral("CREATE TABLE POSITIONS (ID INTEGER, CLIENT VARCHAR(40), ISIN VARCHAR(12), "
                                     "QUANTITY FLOAT, AMOUNT FLOAT, DAN DATE)")) ||
            !exec(db, QStringLiteral("WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < %1) "
                                     "INSERT INTO POSITIONS SELECT x, 'Client ' || (x % 9973), "
                                     "'SI00' || printf('%08d', x), x % 1000, x * 1.25, '2024-03-05' FROM n")
                               .arg(Rows)))
            return 1;
        std::printf("rows generated:        %d in %lld ms\n", Rows, fill.elapsed());

        QWidget form;
        form.resize(1000, 700);
        auto* grid = new TFwwDBGrid(&form);
        grid->setFillsParent(true);

        QElapsedTimer timer;
        timer.start();
        GridDataset dataset(db, QStringLiteral("SELECT * FROM POSITIONS ORDER BY ID"));
        dataset.open();
        grid->setDataset(&dataset);
        form.show();
        (void)form.grab();
        const qint64 firstPaint = timer.elapsed();

        timer.restart();
        grid->scrollToBottom();
        dataset.last();
        const int lastRow = dataset.recordCount() - 1;
        const QModelIndex lastIndex = dataset.model()->index(lastRow, 0);
        while (!dataset.model()->data(lastIndex).isValid()) QCoreApplication::processEvents();
        (void)form.grab();
        const qint64 toLast = timer.elapsed();

        std::printf("records:               %d\n", dataset.recordCount());
        std::printf("time to first paint:   %lld ms\n", firstPaint);
        std::printf("time to the last row:  %lld ms (shows ID %s)\n", toLast,
                    qPrintable(dataset.model()->data(lastIndex).toString()));
        std::printf("chunks read:           %d\n", dataset.chunkLoads());
        std::printf("peak resident memory:  %s\n", qPrintable(peakMemory()));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench"));
    return 0;
}
