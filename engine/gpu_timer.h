// The GL side of the frame timer: timer queries as RAII objects, and the backend that writes a
// frame's marks with them. GL_ARB_timer_query writes a timestamp at each mark;
// GL_EXT_timer_query has no timestamps, so one elapsed-time query runs from each mark to the
// next; where the driver has neither, the marks read the CPU's clock, and that is said once.
//
//   FrameTimer timer(makeTimerBackend());   // with a current GL context
#pragma once

#include <GL/glew.h>

#include <memory>

#include "engine/frame_timer.h"

namespace Quorvel {

// A block of GL query names, deleted with it.
class TimerQueries {
public:
    explicit TimerQueries(int count);
    ~TimerQueries();
    TimerQueries(const TimerQueries&) = delete;
    TimerQueries& operator=(const TimerQueries&) = delete;

    GLuint operator[](int index) const { return names[index]; }
    int size() const { return count; }

private:
    int count;
    std::unique_ptr<GLuint[]> names;
};

enum class TimerKind { Timestamps, Elapsed, Cpu };

// What this context can time with: ARB timestamps, else EXT elapsed time, else the CPU.
TimerKind availableTimerKind();

// The backend for `kind`; a CPU one says once on standard output that the times are the CPU's.
std::unique_ptr<TimerBackend> makeTimerBackend(TimerKind kind = availableTimerKind());

}  // namespace Quorvel
