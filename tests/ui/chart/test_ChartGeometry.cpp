#include "ui/chart/PointKeys.h"
#include "ui/chart/PolylineReduction.h"
#include "ui/chart/RectClipping.h"
#include "ui/chart/Ribbon.h"

#include <QPainterPath>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <map>

namespace {

double SignedArea(const QPolygonF& polygon) {
    double area = 0;
    for (qsizetype i = 0; i < polygon.size(); ++i) {
        const QPointF a = polygon[i];
        const QPointF b = polygon[(i + 1) % polygon.size()];
        area += a.x() * b.y() - b.x() * a.y();
    }
    return area / 2;
}

SeriesPoints Points(std::initializer_list<float> values) {
    SeriesPoints points;
    for (const float value : values) {
        points.Append(value);
    }
    return points;
}

} // namespace

TEST(PolylineReduction, SparsePointsAreAllKept) {
    const SeriesPoints points = Points({1, 5, -2, 7});
    const PixelMapping mapping{10, 20, 100, -2}; // 20 pixels per point
    const auto lines = ReducedPolylines(points, PointKeys(), 0, 3, mapping);
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(lines[0].size(), 4);
    EXPECT_EQ(lines[0][0], QPointF(10, 98));
    EXPECT_EQ(lines[0][3], QPointF(70, 86));
}

// A million points on 500 pixels: at most four points per pixel column, and in every column
// the line still reaches the lowest and the highest value there, so a spike stays visible.
TEST(PolylineReduction, DensePointsKeepEveryColumnsExtremes) {
    SeriesPoints points;
    const std::size_t count = 1'000'000;
    for (std::size_t i = 0; i < count; ++i) {
        points.Append(static_cast<float>(std::sin(i * 0.001)));
    }
    const std::size_t spike = 654'321;
    SeriesPoints withSpike;
    for (std::size_t i = 0; i < count; ++i) {
        withSpike.Append(i == spike ? 50.0f : points.At(i));
    }
    const double width = 500;
    const PixelMapping mapping{0, width / (count - 1), 0, -1};
    const auto lines = ReducedPolylines(withSpike, PointKeys(), 0, count - 1, mapping);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_LE(lines[0].size(), 4 * (width + 1));

    std::map<int, std::pair<double, double>> columns; // column -> lowest, highest y
    for (const QPointF& point : lines[0]) {
        // A column's first point and extremes sit at its left edge.
        const int column = static_cast<int>(std::lround(point.x()));
        auto [entry, added] = columns.try_emplace(column, point.y(), point.y());
        entry->second.first = std::min(entry->second.first, point.y());
        entry->second.second = std::max(entry->second.second, point.y());
    }
    const auto columnOf = [&](std::size_t index) {
        return columns.at(static_cast<int>(std::floor(mapping.X(static_cast<double>(index)))));
    };
    EXPECT_EQ(columnOf(spike).first, -50.0);
    EXPECT_LE(columnOf(1571).first, -0.999); // sine peak
    EXPECT_GE(columnOf(4712).second, 0.999); // sine trough
    EXPECT_EQ(lines[0].first(), QPointF(0, -0.0));
    EXPECT_NEAR(lines[0].last().x(), width, 1e-6);

    // A window squeezed below its margins turns the axis around: columns still bound the points.
    const PixelMapping mirrored{width, -width / (count - 1), 0, -1};
    EXPECT_LE(ReducedPolylines(withSpike, PointKeys(), 0, count - 1, mirrored).at(0).size(),
              4 * (width + 1));
}

TEST(PolylineReduction, ValuesThatAreNotFiniteBreakTheLine) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const SeriesPoints points = Points({1, 2, nan, 3, 4});
    const auto lines = ReducedPolylines(points, PointKeys(), 0, 4, PixelMapping{0, 10, 0, 1});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 2);
    EXPECT_EQ(lines[1].size(), 2);
    EXPECT_TRUE(ReducedPolylines(points, PointKeys(), 3, 1, PixelMapping{}).empty());
    EXPECT_EQ(ReducedPolylines(points, PointKeys(), 3, 99, PixelMapping{0, 10, 0, 1}).at(0).size(),
              2);
}

// Times as keys: a gap and a time that goes back start new lines, each drawn only where it is
// in view, and the points of a pixel column are found by their keys, not their number.
TEST(PointKeys, LinesBreakAtGapsAndWhereKeysGoBack) {
    PointKeys keys;
    SeriesPoints points;
    // Two runs: 0 10 20 | gap | 50 60, then back to 30 40 45.
    const std::vector<std::pair<double, bool>> keyed{{0, false},  {10, false}, {20, false},
                                                     {50, true},  {60, false}, {30, false},
                                                     {40, false}, {45, false}};
    for (const auto& [key, newLine] : keyed) {
        keys.Append(key, newLine);
        points.Append(static_cast<float>(key));
    }
    using Ranges = std::vector<std::pair<std::size_t, std::size_t>>;
    const auto pairs = [](const std::vector<PointKeys::Range>& ranges) {
        Ranges out;
        for (const PointKeys::Range range : ranges) {
            out.emplace_back(range.first, range.last);
        }
        return out;
    };
    EXPECT_EQ(pairs(keys.Within(0, 60, 8)), (Ranges{{0, 4}, {5, 7}}));
    EXPECT_EQ(pairs(keys.Within(25, 35, 8)), (Ranges{{5, 5}}));
    EXPECT_EQ(pairs(keys.LinesThrough(0, 60, 8)), (Ranges{{0, 2}, {3, 4}, {5, 7}}));
    // Each line with its point just outside the view, none across the gap.
    EXPECT_EQ(pairs(keys.LinesThrough(25, 35, 8)), (Ranges{{2, 2}, {3, 3}, {5, 6}}));
    EXPECT_EQ(pairs(keys.LinesThrough(55, 58, 8)), (Ranges{{3, 4}}));
    EXPECT_EQ(keys.SpanOf(8).lowest, 0);
    EXPECT_EQ(keys.SpanOf(8).highest, 60);

    // Ten pixels per key: every point where its key says.
    const auto lines = ReducedPolylines(points, keys, 5, 7, PixelMapping{0, 10, 0, -1});
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], (QPolygonF{{300, -30}, {400, -40}, {450, -45}}));

    // Without keys a point's key is its number.
    keys.Clear();
    EXPECT_EQ(pairs(keys.LinesThrough(2.5, 4.5, 10)), (Ranges{{2, 5}}));
    EXPECT_TRUE(keys.LinesThrough(20, 30, 10).empty());
    EXPECT_EQ(keys.SpanOf(10).highest, 9);
}

// A zigzag whose segments cross the depth direction both ways: every polygon of the ribbon
// turns the same way and together they cover the swept face and nothing else.
TEST(Ribbon, SweepsOfAZigzagAllTurnOneWayAndCoverTheFace) {
    const QPolygonF line{{0, 100}, {10, 0}, {20, 100}, {30, 95}, {40, 100}};
    const QPointF depth(8, -8);
    const QList<QPolygonF> polygons = RibbonPolygons(line, depth);
    ASSERT_EQ(polygons.size(), 2); // the steep rise, then the rest in one run
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const QPolygonF& polygon : polygons) {
        EXPECT_GT(SignedArea(polygon), 0);
        path.addPolygon(polygon);
        path.closeSubpath();
    }
    // Points of every segment moved part of the way back lie on the face.
    for (qsizetype i = 1; i < line.size(); ++i) {
        const QPointF middle = (line[i - 1] + line[i]) / 2 + depth * 0.5;
        EXPECT_TRUE(path.contains(middle)) << i;
    }
    EXPECT_FALSE(path.contains(QPointF(15, 90)));
    EXPECT_TRUE(RibbonPolygons(QPolygonF{{1, 1}}, depth).isEmpty());
}

TEST(RectClipping, LinesAreCutWhereTheyLeaveAndReenter) {
    const QRectF clip(0, 0, 10, 10);
    const QPolygonF line{{-5, 5}, {5, 5}, {5, 20}, {8, 20}, {8, 5}, {9, 5}};
    const auto pieces = ClipPolyline(line, clip);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0], (QPolygonF{{0, 5}, {5, 5}, {5, 10}}));
    EXPECT_EQ(pieces[1], (QPolygonF{{8, 10}, {8, 5}, {9, 5}}));
    EXPECT_TRUE(ClipPolyline(QPolygonF{{20, 20}, {30, 30}}, clip).empty());
}

TEST(RectClipping, PolygonsKeepTheirPartInsideAndTheirTurn) {
    const QRectF clip(0, 0, 10, 10);
    const QPolygonF square{{5, 5}, {15, 5}, {15, 15}, {5, 15}};
    const QPolygonF kept = ClipPolygon(square, clip);
    EXPECT_DOUBLE_EQ(SignedArea(kept), 25.0);
    const QPolygonF reversed(square.rbegin(), square.rend());
    EXPECT_DOUBLE_EQ(SignedArea(ClipPolygon(reversed, clip)), -25.0);
    // A concave shape around the clip's corner.
    const QPolygonF hook{{-5, -5}, {20, -5}, {20, 2}, {2, 2}, {2, 20}, {-5, 20}};
    EXPECT_DOUBLE_EQ(std::abs(SignedArea(ClipPolygon(hook, clip))), 10 * 10 - 8 * 8);
    EXPECT_TRUE(ClipPolygon(QPolygonF{{20, 20}, {30, 20}, {30, 30}}, clip).isEmpty());
}
