#pragma once

#include <cstddef>
#include <cstdint>

// One function per parser family, shared by the fuzz targets and the regression test that replays
// the inputs kept under fuzz/regressions/.

/// The configuration readers over the same bytes: TEVRA.INI, idpogi.INI, PREKNJIZBE.CONF, ZEL.INI, ALIASES.INI.
void fuzzConfigFiles(const uint8_t* data, size_t size);
/// Unscramble and HexValue.
void fuzzUnscramble(const uint8_t* data, size_t size);
/// Placeholder normalisation and the outer-join rewrite.
void fuzzSqlText(const uint8_t* data, size_t size);
/// The grid's font settings in WIN.INI.
void fuzzWinIni(const uint8_t* data, size_t size);
