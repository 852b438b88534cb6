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
// A magnitude in tenths as the label shows it ("12.3", "-0.5"), the text
// printf's "%.1f" makes of tenths / 10, without its cost in every label of
// every frame; returns the length (out holds at least 16 bytes).
int nebulaMagText(int32_t tenths, char *out);
