#include "render/canvas.h"
#include "render/physicalmemory.h"

#include <gtest/gtest.h>

TEST(CanvasByteBudget, IsAQuarterOfWhatTheSystemSaysItHas)
{
    // A system answer of 0 would leave every machine with the 1 GiB fallback.
    const std::uint64_t physical = PhysicalMemoryBytes();
    ASSERT_GT(physical, std::uint64_t{64} << 20);
    if (sizeof(void*) == 8) {
        EXPECT_EQ(CanvasByteBudget(), physical / 4);
    }
}
