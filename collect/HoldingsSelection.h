#pragma once

#include <QString>

/// The holdings and turnover selection of a run: one row per client, security and contract held at
/// PriorClose (:DAN30) or at PeriodTo (:DANDO) or traded in between, with the countries of client,
/// issuer and market. `sfdjvList` is the run's activity-code list, inserted as it stands.
QString holdingsSelectionStatement(const QString& sfdjvList, bool euroPeriod);
