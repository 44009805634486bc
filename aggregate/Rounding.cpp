#include "aggregate/Rounding.h"

#include <cmath>

double RoundToUnits(double x) {
    const double magnitude = std::fabs(x);
    if (x != 0.0 && magnitude >= 0.05 && magnitude <= 1.0) return x > 0 ? 1.0 : -1.0;
    return std::nearbyint(x); // the default rounding mode sends an exact half to the even neighbour
}

double ScaleToThousands(bool euroPeriod, double x) {
    if (euroPeriod) return x;
    if (x == 0.0) return 0.0;
    if (x > 0.0 && x <= 1000.0) return 1.0;
    if (x >= -1000.0 && x < 0.0) return -1.0;
    return std::nearbyint(x / 1000.0);
}

QString NormaliseSector(const QString& code) {
    if (!code.startsWith(QLatin1String("S."))) return code;
    for (const char* six : {"S.1312", "S.1311", "S.1313", "S.1314"}) {
        if (code.startsWith(QLatin1String(six))) return code.left(6);
    }
    if (code.startsWith(QLatin1String("S.13"))) return QStringLiteral("S.13");
    QString out;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        out += (i == 2 && c == u'9') ? QChar(u'2') : c;
        if (i == 3) {
            if (c == u'1' || c == u'3' || c == u'4' || c == u'5' || c == u'6') break;
        }
        if (i == 4 && code[3] == u'2') break;
    }
    return out;
}
