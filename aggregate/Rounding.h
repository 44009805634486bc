#pragma once

#include <QString>

/// An amount in whole units: magnitudes from 0.05 to 1 give 1 with the sign of x; otherwise
/// x rounded to the nearest whole number, an exact half going to the even neighbour.
double RoundToUnits(double x);

/// Amounts before the euro changeover in thousands (`euroPeriod` clear); unchanged otherwise.
double ScaleToThousands(bool euroPeriod, double x);

/// The sector code the report uses for an institutional sector code (S.1411 gives S.14,
/// S.94 gives S.24, S.1312 stays). A text that does not begin with "S." is returned unchanged.
QString NormaliseSector(const QString& code);
