#pragma once
// How long end-to-end tests wait for the station. A wait ends as soon as its condition holds, so
// a wide deadline costs a passing test nothing; these hold for the sanitizer build on two cores
// kept busy by other work (ctest gives a test 120 seconds in all).

// The program started, its ports open and the probe configured.
constexpr int kStartUpMs = 30000;
// One step of a record's way: a frame acknowledged, a line logged, a message told.
constexpr int kStepMs = 20000;
