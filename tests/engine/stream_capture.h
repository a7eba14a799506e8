// Captures what the code under test writes to std::cout or std::cerr, for message checks.
//
//   StreamCapture out(std::cout);
//   doSomething(); EXPECT_EQ(out.text(), "fbo: ...\n");
#pragma once

#include <iostream>
#include <sstream>
#include <string>

class StreamCapture {
public:
    explicit StreamCapture(std::ostream& stream) : stream(stream), previous(stream.rdbuf(buffer.rdbuf())) {}
    ~StreamCapture() { stream.rdbuf(previous); }
    StreamCapture(const StreamCapture&) = delete;
    StreamCapture& operator=(const StreamCapture&) = delete;

    std::string text() const { return buffer.str(); }
    void clear() { buffer.str(std::string()); }

private:
    std::ostringstream buffer;
    std::ostream& stream;
    std::streambuf* previous;
};
