// The solar-system layer: the fixed order of its bodies.
#include "model/chart_state.h"
#include "render/layers/small_bodies.h"
#include "render/layers/solar_bodies.h"

void chartDrawSolarSystem(ChartState *chart, Canvas *canvas, int32_t shadowOffset)
{
    if (isSolarMode(chart->mode))
        chartDrawOrbits(chart, canvas);
    chartDrawPlanet(chart, canvas, kPlanetCount - 1, 0, chart->skyColourBase);
    chartDrawMinorPlanets(chart, canvas);
    chartDrawComets(chart, canvas, 0);
    chartDrawSatelliteNames(chart, canvas);
    chartDrawSun(chart, canvas);
    chartDrawMoon(chart, canvas, shadowOffset);
}

void drawSolarSystemLayer(ChartState *chart, Canvas *canvas) { chartDrawSolarSystem(chart, canvas, 0); }
