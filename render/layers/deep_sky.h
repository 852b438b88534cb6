// The deep-sky layer: the objects of the Messier, NGC and IC tables with a
// symbol by type and brightness, their magnitudes and catalogue names.
#pragma once

#include <cstdint>

#include "model/chart_state.h"

struct ChartState;
struct Canvas;
struct NebulaRecord;

// The symbol of a type (0..17) and size class (0 brightest .. 2): nine rows of
// nine pixels, bit c the pixel of column c; null for another type or class.
const uint16_t *nebulaSymbol(int type, int sizeClass);

// The layer (nothing unless NEBULA is on).
void chartDrawNebulae(ChartState *chart, Canvas *canvas);
