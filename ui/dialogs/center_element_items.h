// The comet and minor-planet items of the centre dialogs, apart from the
// dialog kit: the element dialogs' header has toggle names of its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct OrbitalElements;

// One item per row of a chart's comet or minor-planet table, in table order,
// made as the element dialogs make theirs (extension and name).
void centerElementItems(const OrbitalElements *rows, int32_t count, std::vector<std::string> *items);
