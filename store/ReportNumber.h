#pragma once

#include "app/Context.h"

/// Period values of a run from its two dates and the euro changeover date.
PeriodValues periodValues(const QDate& from, const QDate& to, const QDate& euroChangeoverDate);

/// The next report number: one more than the highest IDPOR of TEMP_TEVRA, or 1. Stores it in
/// IdPor. A failing statement is shown and passed on.
qint32 VrniNovIdPor(Context& ctx);

/// Start of a run: period values, report number, and the check that the run's detail rows can be written.
void DolociIdPor(Context& ctx, const QDate& from, const QDate& to);

/// The statement that opens the detail rows of a report number.
QString detailRowsStatement(qint32 idPor);
