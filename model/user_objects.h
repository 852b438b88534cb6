// Records of user-object files, sky marks and the click-data index.
#pragma once

#include <cstdint>

// UserObject.type values.
enum : uint8_t {
    kUserObjectLine = 0,    // starts a polyline
    kUserObjectEnd = 1,     // ends it
    kUserObjectStar = 2,
    kUserObjectNebula = 3,
    kUserObjectMark = 4,
    kUserObjectPoint = 5,
    kUserObjectTableEnd = 255,
};

constexpr int kUserObjectNameSize = 31; // 30 characters and the NUL

// One entry of a user-object or sky-mark table, in file order.
struct UserObject {
    uint8_t type;
    int32_t kind;  // PositionKind of its position
    int32_t index;
    double value1, value2;
    int32_t param1; // LINE dash pattern, STAR magnitude x 10, NEBULA type - 1, MARK shape
    int32_t param2; // LINE colour (PaletteIndex), STAR colour class
    char name[kUserObjectNameSize];
    int32_t colour; // PaletteIndex
};

constexpr int kUserObjectPathSize = 256;

// One loaded file; `table` is owned and ends with a kUserObjectTableEnd entry.
struct UserObjectFileEntry {
    int32_t count; // entries without the end marker
    char path[kUserObjectPathSize];
    UserObject *table;
};

// One row of the click-data index; the index ends with kind -1.
struct ClickDataEntry {
    int32_t kind;   // PositionKind
    int32_t index;
    int32_t offset; // byte offset of the entry's ":" line
};

struct ChartState;

// Frees every user-object table of the chart and the list itself; the list
// and its count are then null and 0. The tables and the list are malloc'd.
void unloadUserObjects(ChartState *chart);
