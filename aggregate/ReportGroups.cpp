#include "aggregate/ReportGroups.h"

bool groupsWithoutClientName(const QString& clientId) {
    return clientId == QLatin1String("FB") || clientId == QLatin1String("ZEZEDUZAVA") ||
           clientId == QLatin1String("MP") || clientId == QLatin1String("VEDO");
}

bool isSectorGroupSector(const QString& sector) {
    static const char* const families[] = {"S.14", "S.15", "S.24", "S.25", "S.94", "S.13"};
    const QString head = sector.left(4);
    for (const char* f : families)
        if (head == QLatin1String(f)) return true;
    return false;
}
