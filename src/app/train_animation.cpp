#include "app/train_animation.h"

const char* const carBitmapNames[carBitmapCount] = {
    "TRACK",      "UP_ENGINES",      "UP_COACH1",      "UP_COACH2",  "UP_OBSERVATION",
    "UP_BAGGAGE", "UP_COMBINE",      "UP_DINER",       "GN_ENGINES", "GN_BAGGAGE",
    "GN_COACH",   "GN_OBSERVATION2", "GN_OBSERVATION2"};

const int trainMakeups[trainCount][maxCarsPerTrain] = {
    {1, 5, 6, 2, 4, 2, 2},
    {1, 5, 4, 2, 2, 4},
    {1, 2, 2, 7, 2, 3, 4},
    {1, 2, 2, 2, 2, 2},
    {1, 4, 7, 4},
    {8, 9, 10, 10, 10},
    {8, 9, 10, 11, 10, 10, 12},
    {8, 9, 10, 11, 10, 11, 10, 12},
    {8, 11, 11, 11, 11},
    {8, 9, 10, 10, 10, 12, 10, 10, 10, 10, 10, 12},
};

namespace {

constexpr AnimationSpeed speeds[highestSpeedIndex + 1] = {{100, 1}, {29, 1}, {33, 2}, {35, 3},
                                                          {36, 4},  {37, 5}, {31, 6}};

} // namespace

int clampSpeedIndex(int index) {
    return index < 0 ? 0 : index > highestSpeedIndex ? highestSpeedIndex : index;
}

const AnimationSpeed& animationSpeed(int index) {
    return speeds[clampSpeedIndex(index)];
}

TrainRun newTrain(int (*random)(), int speedIndex, int stripLeft, int stripRight) {
    TrainRun run{};
    run.train = random() % trainCount;
    const int direction = -1 + 2 * (random() % 2);
    run.velocity = direction * animationSpeed(speedIndex).pixelsPerStep;
    run.position =
        run.velocity > 0 ? stripLeft - trainEntryDistance : stripRight + trainEntryDistance;
    return run;
}

void placeCars(const TrainRun& run, const int* widths, int count, int* lefts) {
    int x = run.position;
    for (int car = 0; car < count; ++car) {
        if (car > 0)
            x += run.velocity > 0 ? -widths[car] : widths[car - 1];
        lefts[car] = x;
    }
}

bool advanceTrain(TrainRun& run, int lastCarLeft, int lastCarWidth, int stripLeft, int stripRight) {
    const bool toTheRight = run.velocity > 0;
    const int end = toTheRight ? lastCarLeft : lastCarLeft + lastCarWidth;
    run.position += run.velocity;
    return toTheRight ? end > stripRight : end < stripLeft;
}

int velocityAtSpeed(int velocity, int speedIndex) {
    const int pixels = animationSpeed(speedIndex).pixelsPerStep;
    return velocity < 0 ? -pixels : pixels;
}
