#include "model/user_objects.h"

#include <cstdlib>

#include "model/chart_state.h"

void unloadUserObjects(ChartState *chart)
{
    for (int32_t i = 0; chart->userObjectFiles && i < chart->userObjectFileCount; i++)
        std::free(chart->userObjectFiles[i].table);
    std::free(chart->userObjectFiles);
    chart->userObjectFiles = nullptr;
    chart->userObjectFileCount = 0;
}
