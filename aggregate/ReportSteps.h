#pragma once

#include "app/Context.h"

/// Groups the run's detail rows into report rows of TEMP_TEVRA.
void GrupirajTemp(Context& ctx);
/// Completes the remaining fields of the run's report rows.
void PolniOstalaPolja(Context& ctx);
/// Removes the run's report rows whose amounts are all zero.
void BrisiNicelne(Context& ctx);
