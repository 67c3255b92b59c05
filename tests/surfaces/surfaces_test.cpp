// The eight surfaces: their lines, samples per line, and positions that can be checked by hand.
#include "geometry/view_changes.h"
#include "render/recording_canvas.h"
#include "tests/support/canvas_tracer.h"
#include "surfaces/tracers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Collects the world points a tracer emits: parameter lines, and segments for the staircases.
struct WorldSink {
    using Point = Vec3;
    std::vector<std::vector<Vec3>> lines;
    std::vector<std::pair<Vec3, Vec3>> segments;

    void Sample(Vec3 p, bool startsLine)
    {
        if (startsLine)
            lines.emplace_back();
        lines.back().push_back(p);
    }
    Point Project(Vec3 p) { return p; }
    void Segment(Point from, Point to) { segments.emplace_back(from, to); }
};

WorldSink Trace(SurfaceKind kind)
{
    WorldSink sink;
    TraceSurfaceInto(kind, sink);
    return sink;
}

std::vector<size_t> LineLengths(const WorldSink& sink)
{
    std::vector<size_t> lengths;
    for (const auto& line : sink.lines)
        lengths.push_back(line.size());
    return lengths;
}

void ExpectSame(Vec3 a, Vec3 b)
{
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_EQ(a.z, b.z);
}

struct Counts {
    size_t moves = 0, lines = 0;
};

Counts TraceCounts(SurfaceKind kind)
{
    ViewState view;
    ResetViewState(view);
    UpdateCameraBasis(view);
    view.surface = kind;
    RecordingCanvas canvas;
    TraceSurface(view, canvas);
    Counts counts;
    for (const CanvasCall& call : canvas.calls) {
        counts.moves += call.op == CanvasCall::Op::MoveTo;
        counts.lines += call.op == CanvasCall::Op::LineTo;
    }
    return counts;
}

TEST(Sweep, TestsTheBoundAfterTheBody)
{
    int calls = 0;
    Sweep({5.0, 1.0, 0.0}, [&](double) { ++calls; });
    EXPECT_EQ(calls, 1);
    std::vector<double> seen;
    Sweep({0.0, 0.1, 0.3}, [&](double v) { seen.push_back(v); });
    // 0.1 + 0.1 + 0.1 is 0.30000000000000004, not below 0.3: three samples, the last accumulated.
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[2], 0.1 + 0.1);
}

TEST(Moebius, HasElevenLinesOfThirtyTwoThenThirtyTwoOfEleven)
{
    const WorldSink s = Trace(kMoebius);
    std::vector<size_t> expected(11, 32);
    expected.insert(expected.end(), 32, 11);
    EXPECT_EQ(LineLengths(s), expected);
}

TEST(Moebius, LineAtAngleZeroIsUprightAtXThirty)
{
    const WorldSink s = Trace(kMoebius);
    const auto& line = s.lines[11];   // family B's first line, t = 0
    for (const Vec3& p : line) {
        EXPECT_EQ(p.x, 30.0);
        EXPECT_EQ(p.y, 0.0);
    }
    EXPECT_EQ(line.front().z, -15.0);
    EXPECT_NEAR(line.back().z, 15.0, 1e-12);
}

TEST(Saddle, StopsShortOfFiveAndIsNotSymmetric)
{
    const WorldSink s = Trace(kSaddle);
    EXPECT_EQ(LineLengths(s), std::vector<size_t>(50, 25));
    EXPECT_EQ(s.lines[0][0].x, -50.0);
    EXPECT_EQ(s.lines[0][0].z, 0.0);   // p*p - q*q at (-5, -5)
    EXPECT_NEAR(s.lines[0].back().y, 46.0, 1e-9);
    EXPECT_NEAR(s.lines[24][0].x, 46.0, 1e-9);
    double maxX = -1e9;
    for (const auto& line : s.lines)
        for (const Vec3& p : line)
            maxX = std::max(maxX, p.x);
    EXPECT_LT(maxX, 47.0);
}

TEST(Sphere, NineteenClosedGreatCirclesFromAccumulatedSteps)
{
    const WorldSink s = Trace(kSphere);
    EXPECT_EQ(LineLengths(s), std::vector<size_t>(19, 37));
    for (const auto& line : s.lines) {
        EXPECT_NEAR(line.front().x, line.back().x, 1e-4);   // the 37th sample closes the circle
        EXPECT_NEAR(line.front().z, -35.0, 1e-9);
        for (const Vec3& p : line)
            EXPECT_NEAR(VecLength(p), 35.0, 1e-9);
    }
    // The 19th circle (azimuth just below pi) lies on the first, run the other way round.
    EXPECT_NEAR(s.lines[18][9].x, s.lines[0][27].x, 1e-4);
    EXPECT_NEAR(s.lines[18][9].y, s.lines[0][27].y, 1e-4);
    EXPECT_NEAR(s.lines[18][9].z, s.lines[0][27].z, 1e-4);
}

TEST(Sine, EightyByEightyOverAnAsymmetricGrid)
{
    const WorldSink s = Trace(kSine);
    EXPECT_EQ(LineLengths(s), std::vector<size_t>(160, 80));
    EXPECT_EQ(s.lines[0][0].x, -60.0);
    EXPECT_EQ(s.lines[0].back().y, 58.5);
    EXPECT_EQ(s.lines[79][0].x, 58.5);
    const Vec3 p = s.lines[40][40];   // p = q = 0
    EXPECT_EQ(p.x, 0.0);
    EXPECT_EQ(p.y, 0.0);
    EXPECT_EQ(p.z, 0.0);
    const Vec3 q = s.lines[0][0];
    EXPECT_EQ(q.z, 2.0 * std::sin(std::sqrt(1800.0)));
    ExpectSame(s.lines[80 + 3][5], Vec3{s.lines[5][3].x, s.lines[5][3].y, s.lines[5][3].z});
}

TEST(Torus, NinetyOneClosedTubeCircles)
{
    const WorldSink s = Trace(kTorus);
    EXPECT_EQ(LineLengths(s), std::vector<size_t>(91, 91));
    ExpectSame(s.lines[0][0], Vec3{40.0, 0.0, 0.0});
    EXPECT_NEAR(s.lines[0][45].x, 20.0, 1e-9);   // a = pi, the inner equator
    EXPECT_NEAR(s.lines[90][0].x, 40.0, 1e-9);   // the last circle lies on the first
    EXPECT_NEAR(s.lines[90][0].y, 0.0, 1e-9);
    for (const auto& line : s.lines)
        EXPECT_NEAR(line.back().z, line.front().z, 1e-9);
}

TEST(Pseudosphere, RimThenMeridiansThatAvoidTheSingularEnds)
{
    const WorldSink s = Trace(kPseudosphere);
    std::vector<size_t> expected{31};
    expected.insert(expected.end(), 31, 59);
    EXPECT_EQ(LineLengths(s), expected);
    for (const Vec3& p : s.lines[0]) {
        EXPECT_NEAR(VecLength(p), 25.0, 1e-9);
        EXPECT_NEAR(p.z, 0.0, 1e-9);
    }
    for (const auto& line : s.lines)
        for (const Vec3& p : line)
            EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
    const auto& meridian = s.lines[1];
    EXPECT_LT(meridian.front().z, -60.0);
    EXPECT_GT(meridian.back().z, 60.0);
    EXPECT_NEAR(meridian[29].x, 25.0, 1e-3);   // a = 30 ha, about pi / 2: on the rim
}

TEST(SpiralStair, TwoHundredFiftyFiveStepsOfThreeSegments)
{
    const WorldSink s = Trace(kSpiralStair);
    ASSERT_EQ(s.segments.size(), 765u);
    EXPECT_TRUE(s.lines.empty());
    ExpectSame(s.segments[0].first, s.segments[0].second);   // first rail segment has zero length
    ExpectSame(s.segments[1].first, s.segments[1].second);
    ExpectSame(s.segments[2].first, Vec3{30.0, 0.0, 45.0});  // the first rung
    ExpectSame(s.segments[2].second, Vec3{0.0, 0.0, 45.0});
    const auto& last = s.segments.back();
    EXPECT_NEAR(last.first.z, 45.0 - 254.0 * 0.06666666666666667 * 6.0, 1e-12);
    ExpectSame(s.segments[3].first, s.segments[0].second);   // each rail continues from the previous step
}

TEST(LeonardoStair, TwoUnjoinedFlightsTwentyUnitsApart)
{
    const WorldSink s = Trace(kLeonardoStair);
    ASSERT_EQ(s.segments.size(), 1530u);
    ExpectSame(s.segments[2].first, Vec3{15.0, 0.0, 45.0});
    ExpectSame(s.segments[2].second, Vec3{30.0, 0.0, 45.0});
    const auto& secondStart = s.segments[765];
    ExpectSame(secondStart.first, secondStart.second);   // the second flight starts afresh
    const double a = 45.0 * 0.06666666666666667;
    EXPECT_EQ(s.segments[767].first.z, (45.0 - a * 6.0) + 20.0);
    EXPECT_NEAR(s.segments[767].first.x, std::cos(3.0) * 15.0, 1e-12);
}

TEST(Tracing, ReportedCountsOfMovesAndLines)
{
    const Counts expected[] = {{43, 704}, {50, 1250}, {19, 703}, {160, 12800},
                               {91, 8281}, {32, 1860}, {765, 765}, {1530, 1530}};
    for (SurfaceKind kind = 1; kind <= 8; ++kind) {
        const Counts c = TraceCounts(kind);
        EXPECT_EQ(c.moves, expected[kind - 1].moves) << "surface " << kind;
        EXPECT_EQ(c.lines, expected[kind - 1].lines) << "surface " << kind;
    }
}

TEST(Tracing, NoneAndUnknownKindsTraceNothing)
{
    for (SurfaceKind kind : {0, 9, -1, 1000}) {
        const Counts c = TraceCounts(kind);
        EXPECT_EQ(c.moves + c.lines, 0u) << "surface " << kind;
    }
}

TEST(Tracing, EveryLineStartsWithOneMoveAndAZeroLengthLine)
{
    ViewState view;
    ResetViewState(view);
    UpdateCameraBasis(view);
    view.surface = kTorus;
    RecordingCanvas canvas;
    TraceSurface(view, canvas);
    ASSERT_EQ(canvas.calls[0].op, CanvasCall::Op::MoveTo);
    EXPECT_EQ(canvas.calls[1].op, CanvasCall::Op::LineTo);
    EXPECT_EQ(canvas.calls[1].p, canvas.calls[0].p);
    EXPECT_EQ(canvas.calls[92].op, CanvasCall::Op::MoveTo);   // 1 move + 91 lines per circle
    EXPECT_EQ(FormatTrace({canvas.calls[0]}), "M " + std::to_string(canvas.calls[0].p.col) + " " +
                                                   std::to_string(canvas.calls[0].p.row) + "\n");
}

TEST(Tracing, NonFiniteSamplesBreakTheLine)
{
    // An eye straight above the target makes the basis NaN: nothing at all is drawn.
    ViewState view;
    ResetViewState(view);
    view.eye = {0.0, 0.0, 300.0};
    UpdateCameraBasis(view);
    view.surface = kSine;
    RecordingCanvas canvas;
    TraceSurface(view, canvas);
    EXPECT_TRUE(canvas.calls.empty());

    // The eye itself has no line to the eye and projects to NaN: it is left out, and the
    // sample after it starts with a move.
    ViewState eyeView;
    ResetViewState(eyeView);
    UpdateCameraBasis(eyeView);
    RecordingCanvas broken;
    CanvasTracer tracer(eyeView, broken);
    tracer.Sample({0, 0, 0}, true);
    tracer.Sample(eyeView.eye, false);
    tracer.Sample({1, 0, 0}, false);
    ASSERT_EQ(broken.calls.size(), 4u);
    EXPECT_EQ(broken.calls[2].op, CanvasCall::Op::MoveTo);
    EXPECT_EQ(broken.calls[3].op, CanvasCall::Op::LineTo);
}

TEST(Tracing, ProjectionsFarOutsideTheSquareArePassedThrough)
{
    ViewState view;
    ResetViewState(view);
    SetEyeDistance(view, 20.0);
    SetZoom(view, 100.0);
    UpdateCameraBasis(view);
    view.surface = kSine;
    RecordingCanvas canvas;
    TraceSurface(view, canvas);
    const bool outside = std::any_of(canvas.calls.begin(), canvas.calls.end(), [](const CanvasCall& c) {
        return c.p.col < 0 || c.p.col > 499 || c.p.row < 0 || c.p.row > 499;
    });
    EXPECT_TRUE(outside);
}

}   // namespace
