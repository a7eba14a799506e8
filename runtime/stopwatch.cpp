#include "runtime/stopwatch.h"

#include <ctime>

namespace Quorvel {

std::int64_t monotonicCounter() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t(now.tv_sec) * kMonotonicFrequency + now.tv_nsec;
}

Stopwatch::Stopwatch(CounterFunction counter, std::int64_t frequency)
    : counter(counter), secondsPerCount(1.0 / double(frequency)) {}

void Stopwatch::start() {
    stopped = false;
    startCount = counter();
}

void Stopwatch::stop() {
    currentCount = counter();
    stopped = true;
}

void Stopwatch::setTime(double seconds) {
    offsetCount = static_cast<std::int64_t>(seconds / secondsPerCount);  // truncates toward zero
    if (!stopped) startCount = counter();
}

double Stopwatch::elapsed() {
    if (!stopped) currentCount = counter();
    lastReading = double(currentCount - startCount + offsetCount) * secondsPerCount;
    return lastReading;
}

}  // namespace Quorvel
