#include <gtest/gtest.h>

#include <vector>

#include "app/train_animation.h"

namespace {

std::vector<int> draws;
size_t nextDraw = 0;

int scriptedRandom() {
    return draws[nextDraw++];
}

TEST(TrainAnimation, NewTrainsEnterFromOutsideTheStripOnTheSideTheyComeFrom) {
    struct Case {
        int trainDraw;
        int directionDraw;
        int speedIndex;
        TrainRun expected;
    } cases[] = {
        {0, 1, 3, {0, 3, 10 - 250}},    // odd: to the right, from the left
        {17, 0, 3, {7, -3, 590 + 250}}, // even: to the left, from the right
        {9, 3, 0, {9, 1, 10 - 250}},    {12345, 8, 6, {5, -6, 590 + 250}},
        {4, 1, 99, {4, 6, 10 - 250}}, // a speed beyond the slider is the fastest
    };
    for (const Case& c : cases) {
        draws = {c.trainDraw, c.directionDraw};
        nextDraw = 0;
        TrainRun run = newTrain(scriptedRandom, c.speedIndex, 10, 590);
        EXPECT_EQ(run.train, c.expected.train);
        EXPECT_EQ(run.velocity, c.expected.velocity);
        EXPECT_EQ(run.position, c.expected.position);
        EXPECT_EQ(nextDraw, 2u);
    }
}

TEST(TrainAnimation, CarsFollowTheLocomotiveWhicheverWayItRuns) {
    const int widths[] = {192, 96, 96, 26};
    struct Case {
        int velocity;
        std::vector<int> lefts;
    } cases[] = {
        {3, {100, 4, -92, -118}},   // each car's own width behind, to the left
        {-5, {100, 292, 388, 484}}, // each after the one before it, to the right
    };
    for (const Case& c : cases) {
        int lefts[4] = {};
        placeCars({0, c.velocity, 100}, widths, 4, lefts);
        EXPECT_EQ(std::vector<int>(lefts, lefts + 4), c.lefts);
    }
}

TEST(TrainAnimation, TrainIsGoneOnlyWhenItsLastCarPassedTheFarEdge) {
    struct Case {
        int velocity;
        int lastCarLeft;
        bool gone;
    } cases[] = {
        {4, 590, false}, // last car's left edge on the right edge: still showing
        {4, 591, true},    {-4, -86, false},  // width 96: right edge 10, on the left edge
        {-4, -87, true},   {4, -1000, false}, // still coming in
        {-4, 2000, false},
    };
    for (const Case& c : cases) {
        TrainRun run{2, c.velocity, 300};
        EXPECT_EQ(advanceTrain(run, c.lastCarLeft, 96, 10, 590), c.gone) << c.lastCarLeft;
        EXPECT_EQ(run.position, 300 + c.velocity);
    }
}

TEST(TrainAnimation, SpeedChangesKeepTheDirection) {
    struct Case {
        int velocity;
        int speedIndex;
        int expected;
        int intervalMs;
    } cases[] = {{3, 6, 6, 31},   {-3, 6, -6, 31}, {-6, 0, -1, 100}, {1, 2, 2, 33},
                 {-1, 5, -5, 37}, {2, -4, 1, 100}, {-2, 7, -6, 31}};
    for (const Case& c : cases) {
        EXPECT_EQ(velocityAtSpeed(c.velocity, c.speedIndex), c.expected);
        EXPECT_EQ(animationSpeed(c.speedIndex).intervalMs, c.intervalMs);
    }
}

} // namespace
