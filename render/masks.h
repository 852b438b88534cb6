// The area outside the sky disc of the planisphere and outside the whole-sky
// maps, painted in ColorPlanisphereBack.
#pragma once

#include "render/canvas.h"

struct ChartState;

void chartDrawPlanisphereBackground(ChartState *chart, Canvas *canvas);
// Paints nothing while any TRACE bit is set, even after a size change.
void chartDrawAitoffBackground(ChartState *chart, Canvas *canvas);

void chartMaskPlanisphere(ChartState *chart, Canvas *canvas);
void chartMaskCylindrical(ChartState *chart, Canvas *canvas);
void chartMaskAitoff(ChartState *chart, Canvas *canvas);
