#pragma once

#include <QString>

/// Statements of the workbook output, built here and nowhere else.
namespace reportout {

/// The report rows of a report number in order of the client name field K16.
QString reportRowsByName(qint32 idPor);

} // namespace reportout
