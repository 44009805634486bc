#pragma once

#include "app/Context.h"

/// Fills TEMP_TEVRA1 with the detail rows of the run. Returns the number of rows written,
/// or -1 when the operator stopped the run at the question about clients without a sector.
int PolniTemp(Context& ctx);
