#include "aggregate/GroupingStatements.h"
#include "aggregate/ReportGroups.h"
#include "aggregate/ReportSteps.h"
#include "aggregate/Rounding.h"
#include "app/StepErrors.h"
#include "store/Query.h"
#include "store/WorkTableWriter.h"

namespace {

/// Appends one report row made of the current grouped row (both passes write the same columns;
/// their statements differ in what they aggregate).
void appendReportRow(store::WorkTableWriter& target, const store::Query& source, bool euroPeriod) {
    auto scaled = [&](const char* column) { return ScaleToThousands(euroPeriod, source.number(QLatin1String(column))); };
    auto number = [&](const char* column) { return source.number(QLatin1String(column)); };
    auto text = [&](const char* column) { return source.text(QLatin1String(column)); };

    target.append();
    target.set(QStringLiteral("DATUM"), source.dateTime(QStringLiteral("DATUM")));
    target.set(QStringLiteral("CTRL"), source.integer(QStringLiteral("CTRL")));
    target.set(QStringLiteral("IDPOR"), source.integer(QStringLiteral("IDPOR")));
    target.set(QStringLiteral("SFOSB"), source.integer(QStringLiteral("SFOSB")));
    target.set(QStringLiteral("SFVP"), source.integer(QStringLiteral("SFVP")));
    target.set(QStringLiteral("SFSOS"), text("SFSOS"));
    target.set(QStringLiteral("SFDRZ"), text("K15").left(1));
    for (const char* c : {"K11", "K12", "K13", "K14", "K15"}) target.set(QLatin1String(c), text(c));
    target.set(QStringLiteral("K16"), NormaliseSector(text("K16")));
    for (const char* c : {"K17", "K21", "K25"}) target.set(QLatin1String(c), text(c));
    for (const char* c : {"K31", "K32", "K33", "K34", "K35", "K37", "K39"}) target.set(QLatin1String(c), scaled(c));
    for (const char* c : {"K310", "K311", "ZACLOT"}) target.set(QLatin1String(c), number(c));
    for (const char* c : {"K313", "SEKTORIZACIJA", "OBLIKA"}) target.set(QLatin1String(c), text(c));
    target.post();
}

/// Shows a failed pass's statement (message box and memo) and passes the error on.
[[noreturn]] void failPass(Context& ctx, const QString& statement) {
    ctx.op.showMessage(statement);
    ctx.op.showFailedStatement(statement);
    throw;
}

} // namespace

void GrupirajTemp(Context& ctx) {
    const RunState& s = ctx.state;
    const bool withoutName = groupsWithoutClientName(s.ClientId);
    store::BatchScope batch(ctx.db);

    ctx.op.setProgressText(QStringLiteral("Grupiranje 'S.14, S.15' "));
    ctx.op.processEvents();

    store::Query query(ctx.db);
    showingStatementOnFailure(ctx.op, [&] {
        query.setSql(grouping::deleteReportRows(s.IdPor));
        query.exec();
    });
    store::WorkTableWriter target(ctx.db, QStringLiteral("TEMP_TEVRA"));
    showingStatementOnFailure(ctx.op, [&] { target.open(grouping::reportRows(s.IdPor)); });
    int appended = 0;

    const QString sectorStatement = grouping::sectorGroupRows(s.IdPor, withoutName);
    try {
        ctx.trace.write(QStringLiteral("_grupira1.sql"), sectorStatement);
        query.setSql(sectorStatement);
        for (query.open(); !query.eof(); query.next()) {
            ++appended;
            appendReportRow(target, query, s.EuroPeriod);
        }
        query.close();
    } catch (const std::exception&) {
        failPass(ctx, sectorStatement);
    }

    ctx.op.setProgressText(QStringLiteral("Grupiranje ostalo"));
    ctx.op.processEvents();

    const QString clientStatement = grouping::clientGroupRows(s.IdPor, withoutName);
    try {
        ctx.trace.write(QStringLiteral("_grupira1.sql"), clientStatement);
        query.setSql(clientStatement);
        query.open();
    } catch (const std::exception&) {
        failPass(ctx, clientStatement);
    }
    while (!query.eof()) {
        ++appended;
        try {
            appendReportRow(target, query, s.EuroPeriod);
        } catch (const store::SqlError&) {
            // One report row that cannot be stored is left out; the pass goes on with the next group.
            target.cancel();
            ctx.op.showMessage(QStringLiteral("napaka pri insertiranju v temp_tevra!") + QString::number(appended) +
                               QChar(13));
        }
        try {
            query.next();
        } catch (const std::exception&) {
            failPass(ctx, clientStatement);
        }
    }
    query.close();
}
