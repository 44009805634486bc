#include "aggregate/IncomeFields.h"

#include "aggregate/CompletionStatements.h"
#include "aggregate/ReportGroups.h"
#include "aggregate/Rounding.h"

namespace {
/// The detail rows' K16 of a sector-group row. Grouping stores the sector code of a household
/// (K16 of its detail rows, S.1411 say) normalised (S.14); the detail rows still hold the code
/// as their SEKTORIZACIJA has it.
QString detailK16(const IncomeRowKeys& row) {
    if (row.k16.startsWith(QLatin1String("S.")) && NormaliseSector(row.sektorizacija) == row.k16)
        return row.sektorizacija;
    return row.k16;
}
} // namespace

IncomeFields::IncomeFields(Context& ctx) : ctx_(ctx), income_(ctx.db), dividends_(ctx.db), mark_(ctx.db) {}

void IncomeFields::bindRow(store::Query& q, const IncomeRowKeys& row) {
    q.bindInt(QStringLiteral("SFVP"), row.sfvp);
    q.bindDate(QStringLiteral("DATUMOD"), ctx_.state.period.PeriodFrom);
    q.bindDate(QStringLiteral("DATUMDO"), ctx_.state.period.PeriodTo);
    if (!row.sectorGroup) {
        q.bindInt(QStringLiteral("SFOSB"), row.sfosb);
        return;
    }
    q.bindText(QStringLiteral("OBLIKA"), row.oblika);
    q.bindText(QStringLiteral("SEKTOR"), row.sektorizacija);
    q.bindText(QStringLiteral("K15"), row.k15);
    q.bindText(QStringLiteral("K313"), row.k313);
    q.bindText(QStringLiteral("K25"), row.k25);
    if (!groupsWithoutClientName(ctx_.state.ClientId)) q.bindText(QStringLiteral("K16"), detailK16(row));
}

double IncomeFields::openSingle(store::Query& q, const QString& traceFile, const QString& statement,
                                const QString& failure, const IncomeRowKeys& row, const char* column) {
    last_ = statement;
    try {
        ctx_.trace.write(traceFile, statement);
        q.setSql(statement);
        bindRow(q, row);
        q.open();
        const double value = q.eof() ? 0.0 : q.number(QLatin1String(column));
        q.close();
        return value;
    } catch (const std::exception&) {
        ctx_.op.showMessage(failure + QChar(13) + statement);
        throw;
    }
}

double IncomeFields::income(const IncomeRowKeys& row) {
    const RunState& s = ctx_.state;
    completion::IncomeFilter filter;
    filter.sectorGroup = row.sectorGroup;
    filter.sfdjvList = s.SfdjvList;
    filter.idPor = s.IdPor;
    filter.keyHasClientName = !groupsWithoutClientName(s.ClientId);
    filter.veruvi = s.ClientId == QLatin1String("VERUVI");

    double result = RoundToUnits(openSingle(income_, QStringLiteral("_38.sql"),
                                            completion::incomeStatement(filter, s.EuroPeriod), QStringLiteral("3.8"),
                                            row, "DOHODEK"));
    const double gross = RoundToUnits(openSingle(dividends_, QStringLiteral("_38b.sql"),
                                                 completion::dividendStatement(filter), QStringLiteral("3.8b"), row,
                                                 "BRUTODIVIDENDE"));
    if (gross != 0) result = gross;
    return result;
}

double IncomeFields::directInvestmentMark(const IncomeRowKeys& row) {
    const RunState& s = ctx_.state;
    const QString statement =
        completion::directInvestmentStatement(s.SfdjvList, s.ClientId == QLatin1String("VERUVI"));
    last_ = statement;
    double mark = 0;
    try {
        ctx_.trace.write(QStringLiteral("_312.sql"), statement);
        mark_.setSql(statement);
        mark_.bindInt(QStringLiteral("SFVP"), row.sfvp);
        mark_.bindInt(QStringLiteral("SFOSB"), row.sfosb);
        mark_.bindDate(QStringLiteral("DATUMDO"), s.period.PeriodTo);
        mark_.open();
        if (!mark_.eof()) mark = mark_.integer(QStringLiteral("NEPOSREDNE_NALOZBE"));
        mark_.close();
    } catch (const std::exception&) {
        ctx_.op.showMessage(QStringLiteral("3.12") + QChar(13) + statement);
        throw;
    }
    if (mark > 1) mark = 0;
    if (row.sectorGroup) mark = 0;
    return mark;
}
