// A stopwatch on a monotonic high-resolution counter. The counter is passed in (a function and
// its fixed frequency), so tests drive it with a fake counter; the program uses the platform's.
// Readings are whole counts times the counter period, so they never drift with frame rate.
//
//   Stopwatch clock;  clock.start();
//   double seconds = clock.elapsed();
#pragma once

#include <cstdint>

namespace Quorvel {

using CounterFunction = std::int64_t (*)();

// The platform's monotonic counter (CLOCK_MONOTONIC in nanoseconds) and its frequency.
std::int64_t monotonicCounter();
constexpr std::int64_t kMonotonicFrequency = 1000000000;

class Stopwatch {
public:
    explicit Stopwatch(CounterFunction counter = monotonicCounter, std::int64_t frequency = kMonotonicFrequency);

    void start();                 // runs from now
    void stop();                  // freezes the reading at now
    void setTime(double seconds); // the reading becomes `seconds` (plus time since, if running)
    double elapsed();             // seconds; also stored in lastReading

    double lastReading = 0.0;

private:
    CounterFunction counter;
    bool stopped = false;
    double secondsPerCount;
    std::int64_t startCount = 0;
    std::int64_t currentCount = 0;
    std::int64_t offsetCount = 0;
};

}  // namespace Quorvel
