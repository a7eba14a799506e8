// What the preview's timing overlay shows, worked out without GL: the timed frames of the last
// few seconds, the medians of the last second (the frame's GPU and CPU times and each pass's),
// the lines of text that give them, and the graph of frame times against the display's frame
// interval, all laid out in pixels from the picture's top-left corner (y down) for a font of
// fixed-width cells. It does not draw, read the clock or ask the timer: the caller hands it
// frames and the wall-clock time they were read back at.
//
//   history.add(timer.take(), glfwGetTime());
//   OverlayPicture p = composeOverlay(history, glfwGetTime(), timer.gpu(), frameIntervalMs(60), {8, 17});
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "engine/frame_timer.h"

namespace Quorvel::Preview {

constexpr double kMedianSeconds = 1.0;  // the figures are medians of this much of the latest frames
constexpr double kGraphSeconds = 3.0;   // the graph's width

// Milliseconds between two refreshes of a display of `refreshHz`; 60 Hz's where it is unknown (0).
double frameIntervalMs(int refreshHz);

// Timed frames of the last kGraphSeconds, oldest first, each stamped with the wall-clock second
// it was read back at (a few frames after it was drawn: the same lag for every frame).
class TimingHistory {
public:
    struct Entry {
        double at = 0.0;
        TimedFrame frame;
    };
    // Frames read back at `now`; anything older than kGraphSeconds before `now` is let go.
    void add(std::vector<TimedFrame> frames, double now);
    void clear() { recent.clear(); }
    const std::deque<Entry>& entries() const { return recent; }

private:
    std::deque<Entry> recent;
};

struct PassTime {
    std::string name;  // "helix/object": the scene, then the pass within it
    double ms = 0.0;
};

// Medians of the frames read back in the kMedianSeconds up to `now`.
struct TimingSummary {
    int frames = 0;
    double frameMs = 0.0;  // the whole frame (GPU where the timer has it)
    double cpuMs = 0.0;    // the CPU's time to issue it
    // The newest frame's spans in its order (what is drawn now), each the median of the frames
    // that have it: a scene that ended a moment ago is not listed.
    std::vector<PassTime> passes;
};
TimingSummary summarise(const TimingHistory& history, double now);

// Pixels from the picture's top-left corner, y down; a point names the pixel whose top-left
// corner it is.
struct Point {
    float x = 0.0f, y = 0.0f;
};
struct Box {
    float x = 0.0f, y = 0.0f, width = 0.0f, height = 0.0f;
    bool contains(Point p) const { return p.x >= x && p.x < x + width && p.y >= y && p.y < y + height; }
};

// Frame times of the last kGraphSeconds in `box`: now at the right edge, kGraphSeconds ago at the
// left, 0 ms at the bottom and topMs at the top, a whole number (at least two) of frame intervals
// so that the slowest frame fits.
struct TimingGraph {
    Box box;
    std::vector<Point> frame;  // frameMs, oldest first
    std::vector<Point> cpu;    // cpuMs, oldest first
    float intervalY = 0.0f;    // the row of the frame interval's line
    double topMs = 0.0;
};
TimingGraph graphOf(const TimingHistory& history, double now, double intervalMs, const Box& box);

// The colour roles of the overlay's text and lines; the drawing picks the colours.
enum class Ink { Heading, Text, Note, Frame, Cpu, Interval };

struct TextRun {
    std::string text;
    Ink ink = Ink::Text;
};
using TextLine = std::vector<TextRun>;
// The runs of a line joined: what it reads.
std::string plainText(const TextLine& line);

// The figures above the graph: a heading saying whether times are the GPU's or the CPU's, the
// frame's two medians, then one line a span, passes indented under their scene.
std::vector<TextLine> figureLines(const TimingSummary& summary, bool gpu);
// The graph's legend, in the two series' inks, and its scale: the frame interval's line.
std::vector<TextLine> graphLines(bool gpu, double intervalMs, double topMs);

// The font's cell: pixels from one glyph to the next, and from one line to the next.
struct CellSize {
    int advance = 8;
    int lineHeight = 16;
};

struct PlacedText {
    Point at;  // top-left corner of the first cell
    TextRun run;
};

// Everything the overlay draws: a translucent panel, its text, the graph.
struct OverlayPicture {
    Box panel;
    std::vector<PlacedText> text;
    TimingGraph graph;
};

// The overlay in the picture's top-left corner: figures, then the graph, then its legend.
OverlayPicture composeOverlay(const TimingHistory& history, double now, bool gpu, double intervalMs, CellSize cell);

}  // namespace Quorvel::Preview
