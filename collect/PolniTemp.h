#pragma once

#include "app/Context.h"

#include <QString>

/// Fills TEMP_TEVRA1 with the detail rows of the run. Returns the number of rows written,
/// or -1 when the operator stopped the run at the question about clients without a sector.
/// Detail rows already stored under the run's report number (left by a failed run) are removed first.
int PolniTemp(Context& ctx);

/// The cross-border form of a position from three tests: does the client, the issuer, the market
/// country equal "S". Empty for the wholly domestic and the wholly foreign positions.
QString FormCode(bool clientDomestic, bool issuerDomestic, bool marketDomestic);

/// "F" for natural persons (sectors S.14, S.24, S.15, S.25), "P" otherwise.
QString personGroup(const QString& sector);

/// Most clients that the sector check collects for the question about clients without a sector.
constexpr int kMaxUnsectoredPersons = 999;

/// The statement that removes the detail rows of a report number.
QString detailRowsDeleteStatement(qint32 idPor);
