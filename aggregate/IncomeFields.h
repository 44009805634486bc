#pragma once

#include "app/Context.h"
#include "store/Query.h"

/// The report row's values the income and direct-investment statements are bound with, as
/// grouping wrote them (read before completion rewrites K15 and K16).
struct IncomeRowKeys {
    qint32 sfvp = 0;
    qint32 sfosb = 0;
    bool sectorGroup = false;
    QString oblika;
    QString sektorizacija;
    QString k15;
    QString k16;
    QString k313;
    QString k25;
};

/// Income (field 3.8.) and direct-investment mark (field 3.12.) of report rows. Keeps its
/// query objects, so the statements of a run are prepared once.
class IncomeFields {
public:
    explicit IncomeFields(Context& ctx);

    /// Whole-unit income of a row: the gross dividends when they are not 0, otherwise the income
    /// of the row's deals. A failing statement is shown ("3.8" or "3.8b") and passed on.
    double income(const IncomeRowKeys& row);
    /// 1 when exactly one qualifying holding record of the row's client exists, otherwise 0;
    /// always 0 in the sector group. A failing statement is shown ("3.12") and passed on.
    double directInvestmentMark(const IncomeRowKeys& row);

    /// The text of the last statement built (empty before the first).
    const QString& lastStatement() const { return last_; }

private:
    void bindRow(store::Query& q, const IncomeRowKeys& row);
    double openSingle(store::Query& q, const QString& traceFile, const QString& statement, const QString& failure,
                      const IncomeRowKeys& row, const char* column);

    Context& ctx_;
    store::Query income_;
    store::Query dividends_;
    store::Query mark_;
    QString last_;
};
