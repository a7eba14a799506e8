// The text score: beat and note syntax, patterns, placements, automation, and how bad lines are
// reported (line number, parsing goes on, nothing crashes).
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "synth/score_parser.h"

using namespace Quorvel::Synth;

namespace {

ScoreParseResult parse(const std::string& text) {
    std::istringstream in(text);
    return parseScore(in);
}

}  // namespace

TEST(ScoreSyntax, BeatsAcceptDecimalsFractionsAndTriplets) {
    double b = 0.0;
    ASSERT_TRUE(parseBeat("2.5", b));
    EXPECT_DOUBLE_EQ(b, 2.5);
    ASSERT_TRUE(parseBeat("1/3", b));
    EXPECT_DOUBLE_EQ(b, 1.0 / 3.0);
    ASSERT_TRUE(parseBeat("160+1/3", b));
    EXPECT_DOUBLE_EQ(b, 160.0 + 1.0 / 3.0);
    for (const char* bad : {"", "x", "1/0", "1+", "+1", "1/3/4", "2..5", "nan", "inf"}) EXPECT_FALSE(parseBeat(bad, b)) << bad;
}

TEST(ScoreSyntax, NoteNamesUseMiddleCAsC4) {
    double n = 0.0;
    ASSERT_TRUE(parseNoteName("A4", n));
    EXPECT_EQ(n, 69.0);
    ASSERT_TRUE(parseNoteName("C4", n));
    EXPECT_EQ(n, 60.0);
    ASSERT_TRUE(parseNoteName("C#3", n));
    EXPECT_EQ(n, 49.0);
    ASSERT_TRUE(parseNoteName("Bb2", n));
    EXPECT_EQ(n, 46.0);
    ASSERT_TRUE(parseNoteName("C-1", n));
    EXPECT_EQ(n, 0.0);
    for (const char* bad : {"H4", "A", "a4", "A4.5", "C#", "E10"}) EXPECT_FALSE(parseNoteName(bad, n)) << bad;
}

TEST(ScoreParser, ReadsPatternsPlacementsAndAutomation) {
    const ScoreParseResult r = parse(R"(
tempo 128
length 64
instrument lead poly wave=square cutoff=1200 # comment after a statement
instrument drums kick
define Am A3+C4+E4
pattern riff 4
  0    Am  1   0.5
  1/3  A4  1/3
  steps 1/2 X.x- at=2
  arp 0 1 1/4 C4+E4+G4 updown
end
play lead 8 riff x2 transpose=12 vel=0.5
play drums 0 riff
auto lead cutoff 0 200 16 3200
auto lead cutoff 32 800
auto master gain 60 0 64 -90
)");
    ASSERT_TRUE(r.errors.empty()) << formatErrors(r.errors);
    const Score& s = r.score;
    EXPECT_EQ(s.tempo, 128.0);
    EXPECT_EQ(s.lengthBeats, 64.0);
    ASSERT_EQ(s.instruments.size(), 2u);
    EXPECT_EQ(s.instruments[0].patch.wave, Wave::Square);
    EXPECT_EQ(s.instruments[0].patch.cutoff, 1200.0f);
    const Pattern& riff = s.patterns.at("riff");
    // 1 chord + 1 note + steps (X at 2, x at 3 held one more step) + 4 arp steps.
    ASSERT_EQ(riff.notes.size(), 2u + 2u + 4u);
    EXPECT_EQ(riff.notes[0].pitches.size(), 3u);
    EXPECT_DOUBLE_EQ(riff.notes[2].beat, 2.0);
    EXPECT_DOUBLE_EQ(riff.notes[3].beat, 3.0);
    EXPECT_DOUBLE_EQ(riff.notes[3].length, 1.0);
    EXPECT_EQ(riff.notes[5].pitches[0], 64.0);  // updown: C E G E
    EXPECT_EQ(riff.notes[7].pitches[0], 64.0);

    const std::vector<NoteEvent> events = expandEvents(s);
    size_t leadNotes = 0;
    for (const NoteEvent& e : events) {
        if (e.instrument != 0) continue;
        ++leadNotes;
        EXPECT_GE(e.beat, 8.0);
        EXPECT_LE(e.velocity, 0.5f);
    }
    EXPECT_EQ(leadNotes, 2u * (3u + 1u + 2u + 4u));
    for (size_t i = 1; i < events.size(); ++i) EXPECT_LE(events[i - 1].beat, events[i].beat);

    const AutomationLane* cutoff = s.lane(0, "cutoff");
    ASSERT_NE(cutoff, nullptr);
    EXPECT_EQ(cutoff->points.size(), 3u);  // two lines, one lane
    EXPECT_NEAR(cutoff->valueAt(8.0), 800.0, 1e-6);  // halfway in octaves between 200 and 3200
    EXPECT_EQ(cutoff->valueAt(-5.0), 200.0);
    EXPECT_EQ(cutoff->valueAt(100.0), 800.0);
    ASSERT_NE(s.lane(-1, "gain"), nullptr);
    EXPECT_DOUBLE_EQ(s.lane(-1, "gain")->valueAt(62.0), -45.0);
}

TEST(ScoreParser, ReportsEachBadLineWithItsNumberAndKeepsGoing) {
    const ScoreParseResult r = parse(
        "tempo 130\n"                          // 1
        "dance all night\n"                    // 2 unknown statement
        "instrument pad poly cutof=300\n"      // 3 unknown parameter
        "instrument pad2 poly cutoff=-5\n"     // 4 out of range
        "pattern p 4\n"                        // 5
        "  0 H4 1\n"                           // 6 bad note
        "  0 A4\n"                             // 7 missing length
        "  steps 1/4 x?x\n"                    // 8 bad step character
        "  1 A4 1\n"                           // 9 fine
        "end\n"                                // 10
        "play nobody 0 p\n"                    // 11 unknown instrument
        "play pad2 0 nothing\n"                // 12 unknown pattern
        "auto pad2 wobble 0 1\n"               // 13 unknown parameter
        "auto master gain 4 0 2 -10\n"         // 14 backwards in time
        "tempo fast\n"                         // 15
        "end\n");                              // 16 end without pattern
    std::vector<int> lines;
    for (const ScoreError& e : r.errors) lines.push_back(e.line);
    EXPECT_EQ(lines, (std::vector<int>{2, 3, 4, 6, 7, 8, 11, 12, 13, 14, 15, 16})) << formatErrors(r.errors);
    EXPECT_EQ(r.score.patterns.at("p").notes.size(), 1u);  // the good line inside the pattern survived
    EXPECT_NE(formatErrors(r.errors).find("line 3: unknown parameter 'cutof'"), std::string::npos);
}

TEST(ScoreParser, UnclosedPatternIsReported) {
    const ScoreParseResult r = parse("pattern p 4\n  0 A4 1\n");
    ASSERT_EQ(r.errors.size(), 1u);
    EXPECT_EQ(r.errors[0].line, 2);
}

TEST(ScoreParser, GarbageNeverCrashes) {
    // Deterministic junk built from the score's own vocabulary and odd characters.
    const char* words[] = {"pattern", "end", "play", "auto", "steps", "arp", "x9", "1/0", "+", "=", "A4+",
                           "define", "instrument", "kick", "-", "\t", "#", "999999999999", "at=", "vel="};
    uint32_t seed = 12345;
    std::string text;
    for (int line = 0; line < 2000; ++line) {
        const int count = int(seed % 7);
        for (int w = 0; w < count; ++w) {
            seed = seed * 1664525u + 1013904223u;
            text += words[(seed >> 16) % (sizeof(words) / sizeof(words[0]))];
            text += ' ';
        }
        seed = seed * 1664525u + 1013904223u;
        text += '\n';
    }
    const ScoreParseResult r = parse(text);
    (void)expandEvents(r.score);
    SUCCEED();
}
