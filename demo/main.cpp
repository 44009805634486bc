// tevra-demo: writes a demo back-office database (SQLite) for trying the report without a
// real back office.

#include "demo/DemoBackOffice.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTextStream>

namespace {

constexpr int kUsageError = 2;

int usageError(const QCommandLineParser& parser, const QString& message) {
    QTextStream err(stderr);
    err << "tevra-demo: " << message << "\n\n" << parser.helpText();
    return kUsageError;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tevra-demo"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes a demo back-office database (SQLite) with deterministic data around a given day."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption out(QStringLiteral("out"),
                                 QStringLiteral("Database file to write (replaced when complete)."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  QStringLiteral("Seed of the generator (default 1)."), QStringLiteral("N"),
                                  QStringLiteral("1"));
    const QCommandLineOption scale(
        QStringLiteral("scale"),
        QStringLiteral("Multiplies clients and contracts, 1 to %1 (default 1).").arg(demo::kMaxScale),
        QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption today(
        QStringLiteral("today"), QStringLiteral("Day the data is built around (default: the current date)."),
        QStringLiteral("YYYY-MM-DD"));
    const QCommandLineOption clientId(QStringLiteral("client-id"),
                                      QStringLiteral("Value of the setting RW_ClientId (default \"%1\").")
                                          .arg(demo::GeneratorOptions().clientId),
                                      QStringLiteral("TEXT"));
    parser.addOptions({out, seed, scale, today, clientId});

    if (!parser.parse(QCoreApplication::arguments())) return usageError(parser, parser.errorText());
    if (parser.isSet(helpOption)) {
        QTextStream(stdout) << parser.helpText();
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return usageError(parser,
                          QStringLiteral("unexpected argument %1").arg(parser.positionalArguments().first()));
    if (!parser.isSet(out) || parser.value(out).isEmpty())
        return usageError(parser, QStringLiteral("--out FILE is required"));

    demo::GeneratorOptions options;
    bool ok = false;
    options.seed = parser.value(seed).toUInt(&ok);
    if (!ok)
        return usageError(parser,
                          QStringLiteral("--seed wants a whole number from 0 to 4294967295, not \"%1\"")
                              .arg(parser.value(seed)));
    options.scale = parser.value(scale).toInt(&ok);
    if (!ok || options.scale < 1 || options.scale > demo::kMaxScale)
        return usageError(parser, QStringLiteral("--scale wants a whole number from 1 to %1, not \"%2\"")
                                      .arg(demo::kMaxScale)
                                      .arg(parser.value(scale)));
    if (parser.isSet(today)) {
        options.today = QDate::fromString(parser.value(today), QStringLiteral("yyyy-MM-dd"));
        if (!options.today.isValid())
            return usageError(
                parser,
                QStringLiteral("--today wants a date as YYYY-MM-DD, not \"%1\"").arg(parser.value(today)));
    }
    if (parser.isSet(clientId)) options.clientId = parser.value(clientId);

    QTextStream outStream(stdout);
    QTextStream errStream(stderr);
    const QString file = parser.value(out);
    QElapsedTimer timer;
    timer.start();
    demo::GeneratorStats stats;
    QString error;
    if (!demo::createDemoFile(file, options, &stats, &error)) {
        errStream << "tevra-demo: " << error << "\n";
        return 1;
    }
    outStream << "Wrote " << QDir::toNativeSeparators(file) << " in " << timer.elapsed() / 1000.0 << " s\n"
              << "  persons:    " << stats.persons << "\n"
              << "  securities: " << stats.securities << "\n"
              << "  contracts:  " << stats.contracts << "\n"
              << "  holdings:   " << stats.holdings << "\n"
              << "  trades:     " << stats.trades << "\n"
              << "  euro changeover: " << demo::euroChangeoverFor(options.today).toString(Qt::ISODate) << "\n"
              << "  proposed period: " << options.today.addMonths(-1).toString(QStringLiteral("yyyy-MM"))
              << "\n"
              << "  seed " << options.seed << ", scale " << options.scale << ", today "
              << options.today.toString(Qt::ISODate) << ", RW_ClientId \"" << options.clientId << "\"\n";
    return 0;
}
