#pragma once

#include "store/Database.h"

/// Start-up preparation of the work tables: adds the ZACLOT column to both tables on databases
/// that lack it. Every error is ignored (the column is usually there already).
void KreirajTabelo(store::Database& db);
