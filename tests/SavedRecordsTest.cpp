#include "SavedRecords.h"

#include <gtest/gtest.h>

namespace {

TEST(SavedRecords, RoundTripSmoke)
{
    const auto [name, periods] = ParseRecordLine(FormatRecordLine("A", {Interval("x", MDate("01.01.2000"), MDate("02.02.2000"))}));
    EXPECT_EQ(name, "A");
    ASSERT_EQ(periods.size(), 1u);
}

} // namespace
