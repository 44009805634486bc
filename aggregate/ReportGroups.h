#pragma once

#include <QString>

/// Client identifiers whose report rows are grouped without the client's name (K16 is then
/// the highest name of the group rather than a key).
bool groupsWithoutClientName(const QString& clientId);

/// True when a sector belongs to the families reported per sector rather than per client
/// (households, non-profit institutions, general government and their foreign counterparts):
/// the first four characters are one of S.14, S.15, S.24, S.25, S.94, S.13.
bool isSectorGroupSector(const QString& sector);
