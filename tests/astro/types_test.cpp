#include "astro/types.h"

#include <gtest/gtest.h>
#include <type_traits>

// The records are filled field by field from tables and files; they must stay plain.
TEST(AstroTypes, RecordsArePlainData)
{
    EXPECT_TRUE(std::is_trivially_copyable<Vec3>::value);
    EXPECT_TRUE(std::is_trivially_copyable<SkyContext>::value);
    EXPECT_EQ(sizeof(Vec3Q14), 3 * sizeof(int32_t));
}
