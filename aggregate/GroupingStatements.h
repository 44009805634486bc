#pragma once

#include <QString>

/// Statements of the grouping step on the work tables: built here, from their pieces, and
/// nowhere else.
namespace grouping {

/// Removes the report rows of a report number.
QString deleteReportRows(qint32 idPor);
/// Opens the report rows of a report number (the target of grouping, the rows completion visits).
QString reportRows(qint32 idPor);
/// Detail rows of the sector families grouped per sector, form, country and security.
QString sectorGroupRows(qint32 idPor, bool withoutClientName);
/// Every other detail row (also those without a sector) grouped per client, form, country and security.
QString clientGroupRows(qint32 idPor, bool withoutClientName);

} // namespace grouping
