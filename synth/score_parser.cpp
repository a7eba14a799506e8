#include "synth/score_parser.h"

#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>

namespace Quorvel::Synth {
namespace {

bool parsePlainNumber(const std::string& text, double& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return end && *end == '\0' && std::isfinite(out);
}

// "a/b" or a plain number.
bool parseTerm(const std::string& text, double& out) {
    const size_t slash = text.find('/');
    if (slash == std::string::npos) return parsePlainNumber(text, out);
    double num = 0.0, den = 0.0;
    if (!parsePlainNumber(text.substr(0, slash), num) || !parsePlainNumber(text.substr(slash + 1), den) ||
        den == 0.0)
        return false;
    out = num / den;
    return true;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) parts.push_back(part);
    return parts;
}

class Parser {
public:
    ScoreParseResult run(std::istream& in) {
        std::string raw;
        while (std::getline(in, raw)) {
            ++line_;
            const size_t hash = raw.find('#');
            if (hash != std::string::npos) raw.erase(hash);
            std::istringstream words(raw);
            std::vector<std::string> tokens;
            for (std::string w; words >> w;) tokens.push_back(w);
            if (!tokens.empty()) statement(tokens);
        }
        if (pattern_) error("pattern '" + pattern_->name + "' is not closed with 'end'");
        return std::move(result_);
    }

private:
    void error(const std::string& message) { result_.errors.push_back({line_, message}); }

    void statement(const std::vector<std::string>& t) {
        const std::string& head = t[0];
        if (pattern_) {
            if (head == "end") pattern_ = nullptr;
            else if (head == "steps") steps(t);
            else if (head == "arp") arp(t);
            else patternNote(t);
            return;
        }
        if (head == "tempo") tempo(t);
        else if (head == "length") length(t);
        else if (head == "instrument") instrument(t);
        else if (head == "define") define(t);
        else if (head == "pattern") pattern(t);
        else if (head == "play") play(t);
        else if (head == "auto") automation(t);
        else if (head == "end") error("'end' without a pattern");
        else error("unknown statement '" + head + "'");
    }

    void tempo(const std::vector<std::string>& t) {
        double bpm = 0.0;
        if (t.size() != 2 || !parsePlainNumber(t[1], bpm) || bpm < 20.0 || bpm > 400.0)
            return error("tempo needs one value from 20 to 400 BPM");
        result_.score.tempo = bpm;
    }

    void length(const std::vector<std::string>& t) {
        double beats = 0.0;
        if (t.size() != 2 || !parseBeat(t[1], beats) || beats <= 0.0 || beats > 10000.0)
            return error("length needs one positive number of beats");
        result_.score.lengthBeats = beats;
    }

    void instrument(const std::vector<std::string>& t) {
        if (t.size() < 3) return error("instrument needs a name and a kind");
        if (result_.score.instrumentIndex(t[1]) >= 0) return error("instrument '" + t[1] + "' defined twice");
        Instrument inst;
        inst.name = t[1];
        if (!parseVoiceKind(t[2], inst.patch.kind)) return error("unknown instrument kind '" + t[2] + "'");
        for (size_t i = 3; i < t.size(); ++i) {
            const size_t eq = t[i].find('=');
            if (eq == std::string::npos) return error("expected name=value, got '" + t[i] + "'");
            std::string message;
            if (!setPatchParameter(inst.patch, t[i].substr(0, eq), t[i].substr(eq + 1), message))
                return error(message);
        }
        result_.score.instruments.push_back(inst);
    }

    void define(const std::vector<std::string>& t) {
        if (t.size() != 3) return error("define needs a name and notes");
        std::vector<double> notes;
        if (!parseNotes(t[2], notes)) return;
        defines_[t[1]] = notes;
    }

    // "A3+C4+Am": note names and defined chords joined by '+'; "-" is an unpitched hit.
    bool parseNotes(const std::string& text, std::vector<double>& notes) {
        if (text == "-") {
            notes.push_back(60.0);
            return true;
        }
        for (const std::string& part : split(text, '+')) {
            double note = 0.0;
            auto it = defines_.find(part);
            if (it != defines_.end()) notes.insert(notes.end(), it->second.begin(), it->second.end());
            else if (parseNoteName(part, note)) notes.push_back(note);
            else {
                error("unknown note or chord '" + part + "'");
                return false;
            }
        }
        return true;
    }

    void pattern(const std::vector<std::string>& t) {
        double len = 0.0;
        if (t.size() != 3 || !parseBeat(t[2], len) || len <= 0.0)
            return error("pattern needs a name and a positive length in beats");
        if (result_.score.patterns.count(t[1])) return error("pattern '" + t[1] + "' defined twice");
        Pattern& p = result_.score.patterns[t[1]];
        p.name = t[1];
        p.length = len;
        pattern_ = &p;
    }

    bool velocityField(const std::string& text, float& velocity) {
        double v = 0.0;
        if (!parsePlainNumber(text, v) || v < 0.0 || v > 2.0) {
            error("velocity must be a number from 0 to 2, got '" + text + "'");
            return false;
        }
        velocity = float(v);
        return true;
    }

    void patternNote(const std::vector<std::string>& t) {
        PatternNote note;
        if (t.size() < 3 || t.size() > 4) return error("a note line is: beat notes length [velocity]");
        if (!parseBeat(t[0], note.beat) || note.beat < 0.0) return error("bad beat '" + t[0] + "'");
        if (!parseNotes(t[1], note.pitches)) return;
        if (!parseBeat(t[2], note.length) || note.length <= 0.0) return error("bad length '" + t[2] + "'");
        if (t.size() == 4 && !velocityField(t[3], note.velocity)) return;
        pattern_->notes.push_back(note);
    }

    void steps(const std::vector<std::string>& t) {
        // steps grid string [notes] [at=beat]
        double grid = 0.0, offset = 0.0;
        if (t.size() < 3 || t.size() > 5) return error("steps is: grid string [notes] [at=beat]");
        if (!parseBeat(t[1], grid) || grid <= 0.0) return error("bad step grid '" + t[1] + "'");
        std::string noteText = "-";
        for (size_t i = 3; i < t.size(); ++i) {
            if (t[i].rfind("at=", 0) == 0) {
                if (!parseBeat(t[i].substr(3), offset) || offset < 0.0) return error("bad step offset '" + t[i] + "'");
            } else {
                noteText = t[i];
            }
        }
        std::vector<double> pitches;
        if (!parseNotes(noteText, pitches)) return;
        // Check the whole string first, so a bad line adds nothing.
        for (char c : t[2])
            if (std::string("Xxo.-|").find(c) == std::string::npos)
                return error(std::string("unknown step character '") + c + "' (X x o . - |)");
        int index = 0;
        long last = -1;  // index, not pointer: push_back may move the notes
        for (char c : t[2]) {
            if (c == '|') continue;
            const double at = offset + index * grid;
            ++index;
            float velocity = 0.0f;
            switch (c) {
            case 'X': velocity = 1.0f; break;
            case 'x': velocity = 0.75f; break;
            case 'o': velocity = 0.45f; break;
            case '.': last = -1; continue;
            case '-':
                if (last >= 0) pattern_->notes[size_t(last)].length += grid;
                continue;
            default: continue;
            }
            pattern_->notes.push_back({at, grid, pitches, velocity});
            last = long(pattern_->notes.size()) - 1;
        }
    }

    void arp(const std::vector<std::string>& t) {
        // arp start length rate notes [order] [gate] [velocity]
        if (t.size() < 5 || t.size() > 8) return error("arp is: start length rate notes [order] [gate] [velocity]");
        double start = 0.0, len = 0.0, rate = 0.0, gate = 0.5;
        float velocity = 1.0f;
        if (!parseBeat(t[1], start) || !parseBeat(t[2], len) || !parseBeat(t[3], rate) || rate <= 0.0 || len <= 0.0)
            return error("arp needs start, length and rate in beats");
        std::vector<double> notes;
        if (!parseNotes(t[4], notes)) return;
        const std::string order = t.size() > 5 ? t[5] : "up";
        if (order != "up" && order != "down" && order != "updown") return error("arp order is up, down or updown");
        if (t.size() > 6 && (!parsePlainNumber(t[6], gate) || gate <= 0.0 || gate > 4.0))
            return error("arp gate must be a fraction of the step (0 to 4)");
        if (t.size() > 7 && !velocityField(t[7], velocity)) return;
        std::vector<double> cycle = notes;
        if (order == "down") cycle.assign(notes.rbegin(), notes.rend());
        if (order == "updown")
            for (size_t i = notes.size() - 1; i-- > 1;) cycle.push_back(notes[i]);
        const int count = int(std::floor(len / rate + 1e-9));
        for (int i = 0; i < count; ++i) {
            // Downbeats of each beat a touch louder: the arp breathes with the groove.
            const bool onBeat = std::fabs(std::fmod(i * rate, 1.0)) < 1e-9;
            pattern_->notes.push_back(
                {start + i * rate, rate * gate, {cycle[size_t(i) % cycle.size()]}, velocity * (onBeat ? 1.0f : 0.8f)});
        }
    }

    void play(const std::vector<std::string>& t) {
        if (t.size() < 4) return error("play is: track beat pattern [xN] [transpose=T] [vel=V]");
        Placement p;
        p.instrument = result_.score.instrumentIndex(t[1]);
        if (p.instrument < 0) return error("unknown instrument '" + t[1] + "'");
        if (!parseBeat(t[2], p.beat) || p.beat < 0.0) return error("bad beat '" + t[2] + "'");
        if (!result_.score.patterns.count(t[3])) return error("unknown pattern '" + t[3] + "'");
        p.pattern = t[3];
        for (size_t i = 4; i < t.size(); ++i) {
            const std::string& opt = t[i];
            double v = 0.0;
            if (opt.size() > 1 && opt[0] == 'x' && parsePlainNumber(opt.substr(1), v) && v >= 1 && v <= 1000 &&
                v == std::floor(v))
                p.repeats = int(v);
            else if (opt.rfind("transpose=", 0) == 0 && parsePlainNumber(opt.substr(10), v) && std::fabs(v) <= 48)
                p.transpose = v;
            else if (opt.rfind("vel=", 0) == 0) {
                if (!velocityField(opt.substr(4), p.velocity)) return;
            } else
                return error("unknown play option '" + opt + "'");
        }
        result_.score.placements.push_back(p);
    }

    void automation(const std::vector<std::string>& t) {
        if (t.size() < 5 || (t.size() - 3) % 2 != 0) return error("auto is: target parameter beat value [beat value ...]");
        AutomationLane lane;
        if (t[1] == "master") lane.target = -1;
        else if ((lane.target = result_.score.instrumentIndex(t[1])) < 0)
            return error("unknown automation target '" + t[1] + "'");
        static const char* const kParams[] = {"gain", "cutoff", "reso", "pan", "reverb", "delay"};
        bool known = false;
        for (const char* name : kParams) known = known || t[2] == name;
        if (!known || (lane.target < 0 && t[2] != "gain")) return error("cannot automate '" + t[2] + "' here");
        lane.parameter = t[2];
        for (size_t i = 3; i + 1 < t.size(); i += 2) {
            AutomationPoint point{};
            if (!parseBeat(t[i], point.beat) || !parsePlainNumber(t[i + 1], point.value))
                return error("bad automation point '" + t[i] + " " + t[i + 1] + "'");
            if (lane.parameter == "cutoff" && (point.value < 10.0 || point.value > 20000.0))
                return error("cutoff must be 10 to 20000 Hz");
            lane.points.push_back(point);
        }
        // Several lines for one lane add points; they must move forward in time.
        for (AutomationLane& existing : result_.score.lanes) {
            if (existing.target == lane.target && existing.parameter == lane.parameter) {
                if (lane.points.front().beat < existing.points.back().beat)
                    return error("automation points must be in time order");
                existing.points.insert(existing.points.end(), lane.points.begin(), lane.points.end());
                return;
            }
        }
        for (size_t i = 1; i < lane.points.size(); ++i)
            if (lane.points[i].beat < lane.points[i - 1].beat) return error("automation points must be in time order");
        result_.score.lanes.push_back(lane);
    }

    ScoreParseResult result_;
    std::map<std::string, std::vector<double>> defines_;
    Pattern* pattern_ = nullptr;
    int line_ = 0;
};

}  // namespace

bool parseBeat(const std::string& text, double& beat) {
    const size_t plus = text.find('+');
    if (plus == std::string::npos) return parseTerm(text, beat);
    double whole = 0.0, part = 0.0;
    if (!parseTerm(text.substr(0, plus), whole) || !parseTerm(text.substr(plus + 1), part)) return false;
    beat = whole + part;
    return true;
}

bool parseNoteName(const std::string& text, double& note) {
    static const int kSemitones[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (text.size() < 2 || text[0] < 'A' || text[0] > 'G') return false;
    int semitone = kSemitones[text[0] - 'A'];
    size_t i = 1;
    if (text[i] == '#') ++semitone, ++i;
    else if (text[i] == 'b') --semitone, ++i;
    double octave = 0.0;
    if (i >= text.size() || !parsePlainNumber(text.substr(i), octave) || octave != std::floor(octave) ||
        octave < -1 || octave > 9)
        return false;
    note = 12.0 * (octave + 1.0) + semitone;
    return true;
}

ScoreParseResult parseScore(std::istream& in) { return Parser().run(in); }

std::string formatErrors(const std::vector<ScoreError>& errors) {
    std::string out;
    for (const ScoreError& e : errors) out += "line " + std::to_string(e.line) + ": " + e.message + "\n";
    return out;
}

}  // namespace Quorvel::Synth
