#pragma once

#include "app/Context.h"

/// ClientId from the value of INISET 'RW_ClientId' and the reporter's registration number.
QString clientIdFor(const QString& value, const QString& mts);

/// Start-up: reporter's registration number, ClientId and the country table.
void PomoznaPolja(Context& ctx);

/// Abbreviation of a country key from the country table; the key itself when it is not there.
QString NazivDrzave(const RunState& state, const QString& key);

/// A person's name: NZV, a blank, IME (both trimmed); empty when it cannot be read.
QString VrniNazivOsb(Context& ctx, qint32 personId);

/// A person's registration number MTS, trimmed. A failing statement is passed on.
QString VrniMaticnoOsb(Context& ctx, qint32 personId);
