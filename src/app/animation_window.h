// The train strip of the version page, a custom control that draws off screen and shows each
// step with one copy.
#pragma once

#include <windows.h>

// lParam: the new speed index, 0 to the highest.
constexpr UINT animationSetSpeed = WM_USER;
// Results: the current speed index; the highest.
constexpr UINT animationGetSpeed = WM_USER + 1;
constexpr UINT animationHighestSpeed = WM_USER + 2;

// Registers "Orvale_DCC_Animation_Window"; 0 on success, else the system's error code.
int registerAnimationClass();
// The speed the program starts with, for tests that need a fresh start.
void resetAnimationSpeed();

struct TrainRun;
// The train in the strip, or none without a strip; for tests that follow it.
const TrainRun* animatedTrain();
