#version 120
// Spectrum line: every end of a segment arrives as two coincident vertices. The first of a
// pair carries the segment's other end in its normal (x in [-1, 1]); the second carries the
// mirrored x (in [-3, -1]) and the negated height of an end, from which the other end follows
// as x = -2 - x', h = -h'. Each vertex is pushed to one side of the segment on screen, so the
// strip becomes a glowing ribbon whose width is a share of the picture's height (the same look
// at every resolution); the heights are squeezed under a soft ceiling so loud moments stand out
// without leaving the frame.
//
// Joins: a vertex knows its own segment only, never the neighbour, so a segment cannot meet the
// next one at a mitre. Instead every segment reaches back past its start by its half-width and
// the fragment shader rounds that part off into a disc about the start, which covers the gap on
// the outside of a bend. Ends stay square (they sit inside the next segment's disc), except the
// last end of the line, which reaches out and is rounded too. The quad that the strip puts
// between two segments has no sensible coordinates; it is told apart by the segment parity and
// dropped.

varying vec4 band;     // x: across, +1 at one edge and -1 at the other; y: along, from the
                       // start, picture units; z: the segment's length; w: half-width there
varying vec4 shade;    // x: squeezed height, 0 (silence) to 1 (ceiling); y: nearness;
                       // z: segment parity, +1 or -1 (in between only on the joining quads);
                       // w: depth the faint halo writes, further back than the line

const float ceiling = 2.6;
const float gain = 1.4;
const float aspect = 16.0 / 9.0;
const float segmentsPerUnitX = 15.5;  // 32 bands from x = -1 to 1
const float lastDrawnEndX = 0.71;     // band 27 (x = 0.742) ends the drawn strip; band 26 is at 0.677
const float haloDepthOffset = 2.0;    // eye units: five line spacings

float squeeze(float h) {
    return ceiling * (1.0 - exp(-gain * max(h, 0.0) / ceiling));
}

float nearnessAt(float w) {
    return clamp((21.0 - w) / 12.0, 0.0, 1.0);
}

// Half-width in picture units (1 = half the picture's height). Loud parts swell; far lines thin
// out, but not below what still reads as a ribbon at 1280 x 720.
float halfWidthAt(float height, float w) {
    return (0.015 + 0.008 * height / ceiling) * (0.5 + 0.5 * nearnessAt(w));
}

void main() {
    // Exactly -1 is ambiguous (band 0's x and mirrored x), but segment 0 is never drawn.
    bool first = gl_Normal.x > -1.0;
    vec2 self = vec2(gl_Vertex.x, squeeze(gl_Vertex.z));
    vec2 other = first ? vec2(gl_Normal.x, squeeze(gl_Normal.z)) : vec2(-2.0 - gl_Normal.x, squeeze(-gl_Normal.z));
    bool start = other.x > self.x;

    vec4 here = gl_ModelViewProjectionMatrix * vec4(self.x, gl_Vertex.y, self.y, 1.0);
    vec4 there = gl_ModelViewProjectionMatrix * vec4(other.x, gl_Vertex.y, other.y, 1.0);
    // From the segment's start to its end on screen, in picture units, whichever end this is.
    vec2 along = (there.xy / there.w - here.xy / here.w) * (start ? 1.0 : -1.0);
    along.x *= aspect;
    float span = length(along);
    vec2 forward = span > 1e-6 ? along / span : vec2(1.0, 0.0);
    vec2 side = vec2(-forward.y, forward.x);

    float halfWidth = halfWidthAt(self.y, here.w);
    bool lastEnd = !start && self.x > lastDrawnEndX;
    float reach = start ? -halfWidth : (lastEnd ? halfWidth : 0.0);
    float across = first ? 1.0 : -1.0;

    float segment = floor((min(self.x, other.x) + 1.0) * segmentsPerUnitX + 0.5);
    vec4 eye = gl_ModelViewMatrix * vec4(self.x, gl_Vertex.y, self.y, 1.0);
    vec4 behind = gl_ProjectionMatrix * vec4(eye.xyz * (1.0 + haloDepthOffset / max(length(eye.xyz), 1e-3)), 1.0);
    float behindDepth = 0.5 * (gl_DepthRange.far - gl_DepthRange.near) * clamp(behind.z / behind.w, -1.0, 1.0)
                        + 0.5 * (gl_DepthRange.far + gl_DepthRange.near);

    band = vec4(across, (start ? 0.0 : span) + reach, span, halfWidth);
    shade = vec4(self.y / ceiling, nearnessAt(here.w), mod(segment, 2.0) * 2.0 - 1.0, behindDepth);
    vec2 offset = side * (across * halfWidth) + forward * reach;
    offset.x /= aspect;
    gl_Position = here + vec4(offset * here.w, 0.0, 0.0);
}
