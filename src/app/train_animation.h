// The version page's train strip without drawing: its cars, make-ups and speeds, where a new
// train enters, where its cars stand, and when it has left the strip.
#pragma once

constexpr int carBitmapCount = 13;
constexpr int trainCount = 10;
constexpr int maxCarsPerTrain = 20;
constexpr int highestSpeedIndex = 6;
constexpr int startSpeedIndex = 3;
// A new train starts this far outside the strip, so it drives in rather than appears.
constexpr int trainEntryDistance = 250;

struct AnimationSpeed {
    int intervalMs;
    int pixelsPerStep;
};

// Resource names by car index; index 0 is the track, not a car.
extern const char* const carBitmapNames[carBitmapCount];
// Car indexes from the locomotive back; 0 ends a make-up.
extern const int trainMakeups[trainCount][maxCarsPerTrain];

// A speed index brought into 0 to highestSpeedIndex, whatever a message carried.
int clampSpeedIndex(int index);
const AnimationSpeed& animationSpeed(int index);

struct TrainRun {
    int train;
    // Pixels per step, positive to the right.
    int velocity;
    // x of the locomotive's left edge.
    int position;
};

// A train picked by two draws of random: the make-up, then the direction.
TrainRun newTrain(int (*random)(), int speedIndex, int stripLeft, int stripRight);
// The left edges of a train's count cars (widths in make-up order): behind the locomotive,
// whichever way it runs.
void placeCars(const TrainRun& run, const int* widths, int count, int* lefts);
// Moves the train one step, judging its last car where it stood before the move. Returns true
// when that car had passed the far edge of the strip: the train is gone.
bool advanceTrain(TrainRun& run, int lastCarLeft, int lastCarWidth, int stripLeft, int stripRight);
// The velocity at another speed, in the same direction.
int velocityAtSpeed(int velocity, int speedIndex);
