// Axis ticks a reader can count on: every tick at a multiple of a step of
// 1, 2 or 5 times a power of ten, so that the labels read 0, 20, 40 or
// 1.5, 2, 2.5 instead of the tenths of an arbitrary range.
#pragma once
#include <vector>

// The ticks inside [lo, hi] (either order) at the finest round step that
// cuts the range into at most maxIntervals parts. A range of one value
// gives that value; one that is not finite, or so narrow for its magnitude
// that its steps cannot be told apart, gives its two ends.
std::vector<double> RoundTicks(double lo, double hi, int maxIntervals);

// The round step of those ticks: 1, 2 or 5 times a power of ten; 0 when
// there is none.
double RoundStep(double lo, double hi, int maxIntervals);
