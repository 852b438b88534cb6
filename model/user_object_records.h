// Records of user-object files, sky marks and the click-data index: plain
// data that the position parser, the object names and the layers read
// without the readers of model/user_objects.h.
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
    int32_t param2; // LINE colour number, STAR colour class 0..9
    char name[kUserObjectNameSize];
    int32_t colour; // colour number 0..15 (userObjectPaletteColour gives its palette row)
};

constexpr int kUserObjectPathSize = 256;

// One loaded file; `table` is owned and ends with a kUserObjectTableEnd entry.
struct UserObjectFileEntry {
    int32_t count; // entries without the end marker
    char path[kUserObjectPathSize];
    UserObject *table;
};

// One row of the click-data index; the index ends with a row of kind
// kClickDataEnd.
constexpr int32_t kClickDataEnd = -1;
struct ClickDataEntry {
    int32_t kind;   // PositionKind
    int32_t index;
    int32_t offset; // byte offset of the entry's ":" line
    double value1, value2; // a coordinate entry's place (kinds 1..6)
};
