#include "ui/chart/SeriesPoints.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace {

SeriesPoints::Extent BruteExtent(const std::vector<float>& values, std::size_t first,
                                 std::size_t end) {
    SeriesPoints::Extent extent = SeriesPoints::NoExtent();
    for (std::size_t i = first; i < end; ++i) {
        extent.Include(values[i]);
    }
    return extent;
}

} // namespace

// Ranges that start and end inside blocks, on block edges and across several levels of
// summaries, for series whose length sits just around the block sizes.
TEST(SeriesPoints, ExtentOfAnyRangeMatchesEveryPoint) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> value(-500, 500);
    for (const std::size_t length : {1u, 31u, 32u, 33u, 1023u, 1024u, 1025u, 40000u}) {
        SeriesPoints points;
        std::vector<float> values;
        for (std::size_t i = 0; i < length; ++i) {
            values.push_back(value(random));
            points.Append(values.back());
        }
        ASSERT_EQ(points.Count(), length);
        std::uniform_int_distribution<std::size_t> index(0, length - 1);
        for (int trial = 0; trial < 300; ++trial) {
            std::size_t first = index(random);
            std::size_t end = index(random) + 1;
            if (first >= end) {
                std::swap(first, end);
                ++end;
            }
            end = std::min(end, length);
            const auto expected = BruteExtent(values, first, end);
            const auto actual = points.ExtentOf(first, end);
            ASSERT_EQ(actual.low, expected.low) << length << " " << first << ".." << end;
            ASSERT_EQ(actual.high, expected.high) << length << " " << first << ".." << end;
        }
        const auto whole = points.ExtentOf(0, length);
        EXPECT_EQ(whole.low, *std::min_element(values.begin(), values.end()));
        EXPECT_EQ(whole.high, *std::max_element(values.begin(), values.end()));
    }
}

TEST(SeriesPoints, KeepsValuesAcrossChunksAndRestartsEmpty) {
    SeriesPoints points;
    for (int i = 0; i < 70000; ++i) {
        points.Append(static_cast<float>(i));
    }
    EXPECT_EQ(points.At(0), 0.0f);
    EXPECT_EQ(points.At(16383), 16383.0f);
    EXPECT_EQ(points.At(16384), 16384.0f);
    EXPECT_EQ(points.At(69999), 69999.0f);

    points.Clear();
    EXPECT_EQ(points.Count(), 0u);
    EXPECT_TRUE(points.ExtentOf(0, 10).Empty());
    points.Append(-2.5f);
    points.Append(4.0f);
    EXPECT_EQ(points.At(0), -2.5f);
    EXPECT_EQ(points.ExtentOf(0, 2).low, -2.5f);
    EXPECT_EQ(points.ExtentOf(0, 2).high, 4.0f);
}

TEST(SeriesPoints, ValuesThatAreNotFiniteAreKeptButHaveNoExtent) {
    SeriesPoints points;
    points.Append(std::numeric_limits<float>::quiet_NaN());
    points.Append(std::numeric_limits<float>::infinity());
    EXPECT_TRUE(points.ExtentOf(0, 2).Empty());
    points.Append(3.0f);
    EXPECT_TRUE(std::isnan(points.At(0)));
    EXPECT_EQ(points.ExtentOf(0, 3).low, 3.0f);
    EXPECT_EQ(points.ExtentOf(0, 3).high, 3.0f);
}
