#include "aggregate/ZeroRowStatements.h"

namespace zerorows {

namespace {
QString ofReport(qint32 idPor) { return QStringLiteral(" AND IDPOR=") + QString::number(idPor); }
} // namespace

QString deleteZeroRows(qint32 idPor) {
    return QStringLiteral("DELETE FROM TEMP_TEVRA ") + QStringLiteral("WHERE  K34=0 AND K35=0 AND  K31=0 AND K37=0 AND K311=0  ") +
           ofReport(idPor);
}

QString liftClosingValue(qint32 idPor) {
    return QStringLiteral("UPDATE TEMP_TEVRA ") + QStringLiteral("SET K37=1") + QStringLiteral(" ") +
           QStringLiteral("WHERE  K37=0 AND K311>0  ") + ofReport(idPor);
}

QString liftOpeningValue(qint32 idPor) {
    return QStringLiteral("UPDATE TEMP_TEVRA ") + QStringLiteral("SET K31=1") + QStringLiteral(" ") +
           QStringLiteral("WHERE  K31=0 AND ZACLOT>0  ") + ofReport(idPor);
}

} // namespace zerorows
