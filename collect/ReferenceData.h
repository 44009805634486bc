#pragma once

#include "app/ConfigFiles.h"
#include "app/Context.h"

/// Activity codes and names (for the boxes cbD1..cbD5) and the reporting institution's name.
void BeriDejavnosti(Context& ctx);

/// Document types of PREKNJIZBE.CONF left out of purchases and sales, as an SQL list. Only lines
/// that are one SQL literal (a number, or a quoted text with quotes doubled inside) are accepted;
/// any other non-blank line is reported in `problems` and left out.
QString BeriSfdoge(const QString& folder, QList<ListFileProblem>* problems);

/// Reads the euro changeover date and sets EuroPeriod for `date`; returns EuroPeriod.
bool Euroobd(Context& ctx, const QDate& date);

/// False when the security's short label ends in "_S" (and has at least three characters).
bool SFVPBREZ_S(Context& ctx, qint32 securityId);

/// A label without its "_S" ending.
QString BREZ_S(const QString& label);

/// The activity-code list for the statements: " 'W' " and ", '<code>' " for every ticked box.
QString buildSfdjvList(const QStringList& activityCodes, const QList<bool>& ticked);
