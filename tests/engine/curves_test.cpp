#include "engine/curves.h"

#include <gtest/gtest.h>

#include <limits>

#include <cmath>
#include <sstream>

using namespace Quorvel;

namespace {
CurveKey key(std::int32_t interpolation, float time, float value) {
    CurveKey k;
    k.interpolation = interpolation;
    k.time = k.leftHandleTime = k.rightHandleTime = time;
    k.value = k.leftHandleValue = k.rightHandleValue = value;
    return k;
}

AnimationCurve curveOf(std::initializer_list<CurveKey> keys) {
    AnimationCurve curve;
    curve.keys = keys;
    return curve;
}

CurveSet parse(const std::string& text) {
    std::istringstream in(text);
    CurveSet curves;
    loadCurves(in, curves);
    return curves;
}
}  // namespace

TEST(CurveEvaluate, EmptyAndSingleKey) {
    EXPECT_EQ(evaluate(AnimationCurve(), 3.0f), 0.0f);
    const AnimationCurve one = curveOf({key(0, 2.0f, 7.0f)});
    for (float t : {-100.0f, 2.0f, 5.0f}) EXPECT_EQ(evaluate(one, t), 7.0f);
}

TEST(CurveEvaluate, LinearInterpolatesAndExtrapolatesBeforeTheFirstKey) {
    const AnimationCurve rising = curveOf({key(1, 0, 0), key(1, 10, 5)});
    EXPECT_FLOAT_EQ(evaluate(rising, 5), 2.5f);
    EXPECT_FLOAT_EQ(evaluate(rising, -5), -2.5f);
    EXPECT_FLOAT_EQ(evaluate(rising, 10), 5.0f);
    EXPECT_FLOAT_EQ(evaluate(rising, 1000), 5.0f);

    const AnimationCurve falling = curveOf({key(1, 0, 5), key(1, 10, 0)});
    EXPECT_FLOAT_EQ(evaluate(falling, 0), 5.0f);
    EXPECT_FLOAT_EQ(evaluate(falling, 5), 2.5f);
    EXPECT_FLOAT_EQ(evaluate(falling, 10), 0.0f);
}

TEST(CurveEvaluate, LinearKeysAtOneTimeGiveNoInfinity) {
    const AnimationCurve jump = curveOf({key(1, 3, 1), key(1, 3, 4), key(1, 6, 4)});
    EXPECT_FLOAT_EQ(evaluate(jump, 0), 1.0f);
    EXPECT_FLOAT_EQ(evaluate(jump, 3), 4.0f);  // the segment starting at the later key
}

TEST(CurveEvaluate, ConstantHoldsUntilTheNextKey) {
    const AnimationCurve steps = curveOf({key(2, 0, 1), key(2, 10, 3)});
    EXPECT_EQ(evaluate(steps, -3), 1.0f);
    EXPECT_EQ(evaluate(steps, 9.999f), 1.0f);
    EXPECT_EQ(evaluate(steps, 10), 3.0f);
    EXPECT_EQ(evaluate(steps, 50), 3.0f);
}

TEST(CurveEvaluate, ExactKeyTimeStartsTheNextSegment) {
    const AnimationCurve mixed = curveOf({key(2, 0, 1), key(1, 5, 2), key(1, 10, 4)});
    EXPECT_EQ(evaluate(mixed, 5), 2.0f);
    EXPECT_FLOAT_EQ(evaluate(mixed, 7.5f), 3.0f);
}

TEST(CurveEvaluate, BezierWithHandlesOnTheThirdsIsAStraightLine) {
    CurveKey a = key(0, 0, 0);
    CurveKey b = key(0, 10, 5);
    a.rightHandleTime = 10.0f / 3;
    a.rightHandleValue = 5.0f / 3;
    b.leftHandleTime = 20.0f / 3;
    b.leftHandleValue = 10.0f / 3;
    const AnimationCurve line = curveOf({a, b});
    EXPECT_NEAR(evaluate(line, 5), 2.5f, 1e-4);
    EXPECT_NEAR(evaluate(line, 2), 1.0f, 1e-4);
    EXPECT_NEAR(evaluate(line, 9), 4.5f, 1e-4);
    // Before the first key the bisection stops at u = 2^-19: clamped, not extrapolated.
    EXPECT_NEAR(evaluate(line, -5), 0.0f, 1e-4);
    EXPECT_GE(evaluate(line, -5), 0.0f);
}

TEST(CurveEvaluate, BezierEaseFollowsItsHandles) {
    // Flat handles ease in and out: the middle is halfway, a quarter in is below the straight line.
    CurveKey a = key(0, 0, 0);
    CurveKey b = key(0, 1, 1);
    a.rightHandleTime = 1.0f / 3;
    a.rightHandleValue = 0;
    b.leftHandleTime = 2.0f / 3;
    b.leftHandleValue = 1;
    const AnimationCurve ease = curveOf({a, b});
    EXPECT_NEAR(evaluate(ease, 0.5f), 0.5f, 1e-4);
    EXPECT_LT(evaluate(ease, 0.25f), 0.2f);
    EXPECT_GT(evaluate(ease, 0.75f), 0.8f);
}

TEST(CurveSetLookup, UnknownNameEvaluatesToZeroAndIsAdded) {
    CurveSet curves;
    EXPECT_EQ(evaluate(curves["helix/CameraAction/location"], 12.0f), 0.0f);
    EXPECT_EQ(curves.count("helix/CameraAction/location"), 1u);
}

TEST(CurveReader, ReadsHeadersKeysAndNamesWithSlashes) {
    CurveSet curves = parse(
        "# exported curves\n"
        "curve 2 FLOAT helix/CameraAction/location\n"
        "b 0 1 -1 1 1 1\n"
        "l 10 2 9 2 11 2 trailing words ignored\n"
        "curve 1 FLOAT helix/CameraAction/rotation_euler2\n"
        "c 0 3 0 3 0 3\n");
    ASSERT_EQ(curves.size(), 2u);
    const AnimationCurve& location = curves["helix/CameraAction/location"];
    EXPECT_EQ(location.name, "helix/CameraAction/location");
    ASSERT_EQ(location.keys.size(), 2u);
    EXPECT_EQ(location.keys[0].interpolation, 0);
    EXPECT_EQ(location.keys[0].leftHandleTime, -1.0f);
    EXPECT_EQ(location.keys[1].interpolation, 1);
    EXPECT_EQ(location.keys[1].time, 10.0f);
    EXPECT_EQ(location.keys[1].rightHandleTime, 11.0f);
    EXPECT_EQ(curves["helix/CameraAction/rotation_euler2"].keys.at(0).interpolation, 2);
}

TEST(CurveReader, RepeatedHeaderAppendsAndEarlyKeysGoToTheEmptyName) {
    CurveSet curves = parse(
        "l 0 9 0 9 0 9\n"
        "curve 1 X a\n"
        "l 0 1 0 1 0 1\n"
        "curve 1 X b\n"
        "l 0 2 0 2 0 2\n"
        "curve 1 X a\n"
        "l 5 3 5 3 5 3\n");
    EXPECT_EQ(curves[""].keys.size(), 1u);
    ASSERT_EQ(curves["a"].keys.size(), 2u);
    EXPECT_EQ(curves["a"].keys[1].value, 3.0f);
    EXPECT_EQ(curves["b"].keys.size(), 1u);
}

TEST(CurveReader, CrlfLinesKeepCleanNames) {
    CurveSet curves = parse("curve 1 X cam/x\r\nl 0 1 0 1 0 1\r\n");
    EXPECT_EQ(curves.count("cam/x"), 1u);
    EXPECT_EQ(curves["cam/x"].keys.size(), 1u);
}

TEST(CurveReader, OneBadLineCostsOnlyThatLine) {
    CurveSet curves = parse(
        "curve 3 X a\n"
        "l 0 1 0 1 0 1\n"
        "l 1 2 1 2\n"  // cut short: skipped
        "l 2 3 2 3 2 3\n"
        "curve 1 X b\n"
        "l 0 1e39 0 1 0 1\n"  // beyond float range: clamped, the key kept
        "curve 99999999999999999999999 X c\n"  // a count too large is only a hint
        "l 0 7 0 7 0 7\n"
        "curve lots X lost\n"  // no count: the curve is lost, its keys go nowhere else
        "l 0 9 0 9 0 9\n"
        "curve 1 X d\n"
        "c 0 4 0 4 0 4\n");
    ASSERT_EQ(curves["a"].keys.size(), 2u);
    EXPECT_EQ(curves["a"].keys[1].time, 2.0f);
    ASSERT_EQ(curves["b"].keys.size(), 1u);
    EXPECT_EQ(curves["b"].keys[0].value, std::numeric_limits<float>::max());
    EXPECT_EQ(evaluate(curves["c"], 0.0f), 7.0f);
    EXPECT_EQ(curves.count("lost"), 0u);
    EXPECT_EQ(evaluate(curves["d"], 5.0f), 4.0f);  // later curves are not lost
    EXPECT_EQ(curves["c"].keys.size(), 1u);

    // A file cut off in the middle of its last line keeps everything before it.
    curves = parse("curve 2 X a\nl 0 1 0 1 0 1\nl 1 2 1");
    EXPECT_EQ(curves["a"].keys.size(), 1u);

    // A header with an absurd count must not try to reserve it.
    curves = parse("curve -5 X neg\nl 0 1 0 1 0 1\ncurve 2000000000 X big\nl 0 1 0 1 0 1\n");
    EXPECT_EQ(curves["neg"].keys.size(), 1u);
    EXPECT_EQ(curves["big"].keys.size(), 1u);
    EXPECT_LE(curves["big"].keys.capacity(), 1u << 16);

    // Unknown keywords and blank lines change nothing.
    curves = parse("\nfoo bar\ncurve 1 X a\n\nl 0 1 0 1 0 1\n");
    EXPECT_EQ(curves["a"].keys.size(), 1u);
}

TEST(CurveReader, MissingFileLeavesTheSetAsItWas) {
    CurveSet curves;
    curves["kept"];
    loadCurves("/nonexistent/helix.anim", curves);
    EXPECT_EQ(curves.size(), 1u);
}
