#include "ui/dialogs/center_element_items.h"

#include "ui/dialogs/element_dialogs.h"

void centerElementItems(const OrbitalElements *rows, int32_t count, std::vector<std::string> *items)
{
    for (int32_t i = 0; rows && i < count; i++) {
        char item[kElementItemSize];
        formatElementItem(rows[i].extension, rows[i].name, item);
        items->emplace_back(item);
    }
}
