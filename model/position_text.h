// A position (PositionSpec) written back as command text.
#pragma once

#include <cstdint>

struct ChartState;

// The text parsePositionSpec reads back, into buf (size len). Returns 1, or
// 0 when kind is not 50..56, the index is out of range, the object cannot be
// named, or the text would not fit.
int formatPositionSpec(ChartState *chart, int32_t kind, int32_t index, char *buf, int len);
