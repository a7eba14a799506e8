#include "engine/gpu_timer.h"

#include <chrono>
#include <iostream>
#include <string>
#include <vector>

#include "engine/live_objects.h"

namespace Quorvel {

// A GL without query objects of the desktop's kind says so in its <GL/glew.h> (the web build's).
#ifdef QVL_GL_NO_TIMER_QUERIES
#define QVL_TIMER_QUERIES 0
#else
#define QVL_TIMER_QUERIES 1
#endif

TimerQueries::TimerQueries(int count) : count(count), names(new GLuint[std::size_t(count)]()) {
#if QVL_TIMER_QUERIES
    glGenQueries(count, names.get());
    for (int i = 0; i < count; ++i) LiveObjects::created(LiveObjects::Query);
#endif
}

TimerQueries::~TimerQueries() {
#if QVL_TIMER_QUERIES
    glDeleteQueries(count, names.get());
    for (int i = 0; i < count; ++i) LiveObjects::deleted(LiveObjects::Query);
#endif
}

TimerKind availableTimerKind() {
#if QVL_TIMER_QUERIES
    if (GLEW_ARB_timer_query) return TimerKind::Timestamps;
    if (GLEW_EXT_timer_query) return TimerKind::Elapsed;
#endif
    return TimerKind::Cpu;
}

namespace {

constexpr int kQueriesPerSlot = FrameTimer::kMarks;

#if QVL_TIMER_QUERIES
GLuint64 queryResult(GLuint query) {
    GLuint64 value = 0;
    if (GLEW_ARB_timer_query)
        glGetQueryObjectui64v(query, GL_QUERY_RESULT, &value);
    else
        glGetQueryObjectui64vEXT(query, GL_QUERY_RESULT, &value);
    return value;
}

bool queryReady(GLuint query) {
    GLint available = 0;
    glGetQueryObjectiv(query, GL_QUERY_RESULT_AVAILABLE, &available);
    return available != 0;
}

// A renderer on the CPU (Mesa's llvmpipe) draws a framebuffer's commands only when they are
// flushed, and stamps the time of a mark as it meets it tile by tile: without a flush at each
// mark, a pass drawing into the window would seem to cost nothing and a later one all of it.
bool rendersOnFlush() {
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const std::string name = renderer ? renderer : "";
    return name.find("llvmpipe") != std::string::npos || name.find("softpipe") != std::string::npos;
}

// One timestamp per mark; an interval is the difference of two.
class TimestampBackend : public TimerBackend {
public:
    TimestampBackend() : queries(FrameTimer::kSlots * kQueriesPerSlot), flushAtMarks(rendersOnFlush()) {}
    void mark(int slot, int index) override {
        if (flushAtMarks) glFlush();
        glQueryCounter(query(slot, index), GL_TIMESTAMP);
    }
    bool ready(int slot, int count) override { return count == 0 || queryReady(query(slot, count - 1)); }
    double intervalMs(int slot, int index) override {
        const GLuint64 a = queryResult(query(slot, index)), b = queryResult(query(slot, index + 1));
        return b > a ? double(b - a) * 1e-6 : 0.0;
    }
    void drain() override { glFinish(); }
    bool gpu() const override { return true; }

private:
    GLuint query(int slot, int index) const { return queries[slot * kQueriesPerSlot + index]; }
    TimerQueries queries;
    bool flushAtMarks;
};

// Elapsed-time queries may not overlap: each mark ends the query the one before began.
class ElapsedBackend : public TimerBackend {
public:
    ElapsedBackend() : queries(FrameTimer::kSlots * kQueriesPerSlot) {}
    void mark(int slot, int index) override {
        if (running) glEndQuery(GL_TIME_ELAPSED_EXT);
        running = false;
        // The interval a frame's last mark opens is never read; ready() ends it between frames.
        if (index + 1 < kQueriesPerSlot) {
            glBeginQuery(GL_TIME_ELAPSED_EXT, query(slot, index));
            running = true;
        }
    }
    bool ready(int slot, int count) override {
        if (count < 2) return true;
        stop();
        return queryReady(query(slot, count - 2));
    }
    double intervalMs(int slot, int index) override { return double(queryResult(query(slot, index))) * 1e-6; }
    void drain() override {
        stop();
        glFinish();
    }
    bool gpu() const override { return true; }

private:
    // Between frames nothing is worth timing; a query left running would also be outside any frame.
    void stop() {
        if (running) glEndQuery(GL_TIME_ELAPSED_EXT);
        running = false;
    }
    GLuint query(int slot, int index) const { return queries[slot * kQueriesPerSlot + index]; }
    TimerQueries queries;
    bool running = false;
};
#endif

// The CPU's clock at each mark: what the driver's calls cost, not what the GPU does.
class CpuBackend : public TimerBackend {
public:
    CpuBackend() : seconds(std::size_t(FrameTimer::kSlots * kQueriesPerSlot), 0.0) {}
    void mark(int slot, int index) override {
        seconds[std::size_t(slot * kQueriesPerSlot + index)] =
            std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    }
    bool ready(int, int) override { return true; }
    double intervalMs(int slot, int index) override {
        const std::size_t at = std::size_t(slot * kQueriesPerSlot + index);
        return (seconds[at + 1] - seconds[at]) * 1e3;
    }
    void drain() override {}
    bool gpu() const override { return false; }

private:
    std::vector<double> seconds;
};

}  // namespace

std::unique_ptr<TimerBackend> makeTimerBackend(TimerKind kind) {
#if QVL_TIMER_QUERIES
    if (kind == TimerKind::Timestamps) return std::make_unique<TimestampBackend>();
    if (kind == TimerKind::Elapsed) return std::make_unique<ElapsedBackend>();
#endif
    (void)kind;
    static bool said = false;
    if (!said)
        std::cout << "timers: no GL_ARB_timer_query or GL_EXT_timer_query; pass times are the CPU's" << std::endl;
    said = true;
    return std::make_unique<CpuBackend>();
}

}  // namespace Quorvel
