#include "store/ReportNumber.h"

#include "app/Dates.h"
#include "app/StepErrors.h"
#include "store/Query.h"
#include "store/WorkTableWriter.h"

PeriodValues periodValues(const QDate& from, const QDate& to, const QDate& euroChangeoverDate) {
    PeriodValues p;
    p.PeriodFrom = from;
    p.PeriodTo = to;
    const int y = from.year();
    const int m = from.month();
    p.MonthStart = QDate(y, m, 1);
    p.MonthEnd = QDate(y, m, DaysInMonth(y, m));
    p.PeriodCode = QString::asprintf("%4.4d%2.2d", y, m);
    const int py = m == 1 ? y - 1 : y;
    const int pm = m == 1 ? 12 : m - 1;
    p.PriorClose = QDate(py, pm, DaysInMonth(py, pm));
    if (euroChangeoverDate.isValid() && from == euroChangeoverDate) p.PriorClose = from;
    return p;
}

qint32 VrniNovIdPor(Context& ctx) {
    ctx.state.IdPor = 1;
    showingStatementOnFailure(ctx.op, [&] {
        store::Query query(ctx.db);
        query.setSql(QStringLiteral("SELECT MAX(IDPOR) IDPOR FROM TEMP_TEVRA"));
        query.open();
        if (!query.eof()) ctx.state.IdPor = query.integer(QStringLiteral("IDPOR")) + 1;
    });
    ctx.op.stateChanged();
    return ctx.state.IdPor;
}

QString detailRowsStatement(qint32 idPor) {
    return QStringLiteral("SELECT * FROM TEMP_TEVRA1 ") + QStringLiteral(" WHERE IDPOR=") + QString::number(idPor);
}

void DolociIdPor(Context& ctx, const QDate& from, const QDate& to) {
    ctx.state.period = periodValues(from, to, ctx.state.EuroChangeoverDate);
    VrniNovIdPor(ctx);
    showingStatementOnFailure(ctx.op, [&] {
        store::WorkTableWriter detail(ctx.db, QStringLiteral("TEMP_TEVRA1"));
        detail.open(detailRowsStatement(ctx.state.IdPor));
    });
}
