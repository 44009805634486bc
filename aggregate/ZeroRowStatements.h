#pragma once

#include <QString>

/// Statements of the zero-row step, limited to one report number so that earlier reports stay
/// as they were. Built here, from their pieces, and nowhere else.
namespace zerorows {

/// Deletes the report rows whose amounts 3.1., 3.4., 3.5., 3.7. and 3.11. are all exactly 0.
QString deleteZeroRows(qint32 idPor);
/// Lifts a closing value of 0 to 1 where a positive quantity is held at the end.
QString liftClosingValue(qint32 idPor);
/// Lifts an opening value of 0 to 1 where a positive quantity was summed.
QString liftOpeningValue(qint32 idPor);

} // namespace zerorows
