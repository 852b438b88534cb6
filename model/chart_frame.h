// What a chart's frames keep for the layers: the settings of the frame being
// drawn, what the last frame read, and the sets carried from one frame to
// the next. It is part of the chart state, so each chart (each test's chart
// too) has its own and no frame sees another chart's leftovers.
#pragma once

#include <cstdint>

#include "astro/types.h"
#include "model/x_handles.h"

struct ProjectedPoint; // model/view_geometry.h

enum : int32_t { kWrapNone = 0, kWrapCylindrical = 1, kWrapAitoff = 2 };

// The wrap setting of the frame being drawn, written only by
// chartSetWrapMode (render/lines.h).
struct WrapSetting {
    int32_t kind;           // kWrap*
    int32_t left, right;    // cylindrical: chartRect.x and x + width + 1 (period right - left)
    int32_t half;           // cylindrical: (width + 1) / 2
    int32_t meridianColumn; // Aitoff: centerX
};

// What the star-catalogue-file layer read and drew in the last frame.
struct SaoFrameStats {
    int32_t zonesRead;
    int32_t recordsRead;   // records taken from the file, the first too faint included
    int32_t starsDrawn;
    uint64_t zoneMask;     // bit z: zone z was read
};

// Large regions of the Guide Star Catalog (render/layers/gsc_stars.h).
constexpr int kGscLargeRegionCount = 732;

// The Guide Star Catalog's visible set: the small regions that may touch
// the chart, and the view they were found for. A later frame whose view
// has hardly moved starts from these masks instead of from every region.
struct GscVisibleSet {
    int32_t valid;
    double ra, dec;                 // field centre, degrees
    double fieldWidth, fieldHeight; // degrees
    int32_t mode, mirror;
    ChartRect rect;
    Mat3Q14 rotation;
    uint32_t tableLoad;             // appData->gscRegionTableLoads of the table it was made from
    int32_t masks[kGscLargeRegionCount]; // bit b: small region firstSmall + b of large region L
    int32_t count;                  // set bits: the last frame's visible small regions
    int32_t reused;                 // 1 when the last frame started from the previous set
    int32_t filesOpened;            // region files the last frame opened
};

// Every chart field the sky projection (projectPoint) reads, as a frame
// found them (render/projection.h projectionInputs).
struct ProjectionInputs {
    int32_t mode, mirror;
    int32_t centerX, centerY;
    ChartRect rect;
    Mat3Q14 viewQ14, horizonQ14;
    int32_t scaleX, scaleY, cullCosQ14, cullDepthQ14;
    Mat3 view, horizon;
    double cullCos, cullDepth, pixelsPerRadianX, pixelsPerRadianY, projScale3;
};

// A polyline table's points as a frame's pen met them, projected one after
// the other (a culled point keeps fields of the one before), with whether
// each was drawn: while the projection's inputs are as they were, a later
// frame draws from these. Null until made; freed with the chart's tables.
struct KeptProjection {
    ProjectionInputs inputs;
    int32_t count;
    ProjectedPoint *points;
    uint8_t *visible;
};

// The grids' kept points: one record a celestial system (the horizon's,
// J2000's, the date's, B1950's, the ecliptic's, the galaxy's), each with
// the octant tables of its meridians and parallels as the grid projects
// them (render/layers/grids.cpp), while the projection's inputs are as
// they were. Null until made; freed with the chart's tables.
constexpr int kKeptGridCount = 6;

struct GridOctantTable;

struct KeptGrid {
    ProjectionInputs inputs;
    GridOctantTable *tables; // 8 of them
    int32_t degree, octants; // the tables the record holds
};

struct ChartFrameState {
    WrapSetting wrap;
    SaoFrameStats sao;
    GscVisibleSet gsc;
    KeptProjection borders; // the constellation boundaries
    KeptGrid grids[kKeptGridCount];
};
