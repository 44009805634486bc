#include "workbook/ReportStatements.h"

namespace reportout {

QString reportRowsByName(qint32 idPor) {
    return QStringLiteral(" SELECT * FROM  TEMP_TEVRA ") + QStringLiteral(" WHERE IDPOR=") + QString::number(idPor) +
           QStringLiteral(" ORDER BY K16 ");
}

} // namespace reportout
