#version 120
// Spectrum line: every end of a segment arrives as two coincident vertices. The first of a
// pair carries the segment's other end in its normal (x in [-1, 1]); the second carries the
// mirrored x (in [-3, -1]) and the negated height of an end, from which the other end follows
// as x = -2 - x', h = -h'. Each vertex is pushed to one side of the segment on screen, so the
// strip becomes a band of constant width; the heights are squeezed under a soft ceiling so
// loud moments stand out without leaving the frame.

varying float across;  // +1 at one edge of the band, -1 at the other
varying float level;   // squeezed height, 0 (silence) to 1 (ceiling)
varying float nearness;

const float ceiling = 2.6;
const float gain = 1.4;
const float aspect = 16.0 / 9.0;

float squeeze(float h) {
    return ceiling * (1.0 - exp(-gain * max(h, 0.0) / ceiling));
}

void main() {
    // Exactly -1 is ambiguous (band 0's x and mirrored x), but segment 0 is never drawn.
    bool first = gl_Normal.x > -1.0;
    vec2 self = vec2(gl_Vertex.x, squeeze(gl_Vertex.z));
    vec2 other = first ? vec2(gl_Normal.x, squeeze(gl_Normal.z)) : vec2(-2.0 - gl_Normal.x, squeeze(-gl_Normal.z));

    vec4 here = gl_ModelViewProjectionMatrix * vec4(self.x, gl_Vertex.y, self.y, 1.0);
    vec4 there = gl_ModelViewProjectionMatrix * vec4(other.x, gl_Vertex.y, other.y, 1.0);
    // Along the line from left to right, whichever end this is, so both ends offset alike.
    vec2 along = (there.xy / there.w - here.xy / here.w) * sign(other.x - self.x);
    along.x *= aspect;
    vec2 side = normalize(vec2(-along.y, along.x) + vec2(0.0, 1e-6));
    side.x /= aspect;

    level = self.y / ceiling;
    float distance = here.w;
    nearness = clamp((21.0 - distance) / 12.0, 0.0, 1.0);
    float width = (0.0065 + 0.009 * level) * (0.6 + 0.4 * nearness);
    across = first ? 1.0 : -1.0;
    gl_Position = here + vec4(side * (width * across * here.w), 0.0, 0.0);
}
