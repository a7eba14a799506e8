#version 120
// A glowing ribbon: a hot core along the middle, a soft halo that fades to nothing at the
// edge, so the edge needs no multisampling to look smooth. Quiet parts of the spectrum glow
// cyan and the loudest turn amber; far lines are dimmer, so the landscape has depth.
//
// Depth: the core writes the line's own depth and hides what lies behind it. The halo writes a
// depth further back the further out it is, so the lines behind still draw their cores over a
// nearer line's glow, and where a segment's rounded start overlaps the segment before it, only
// the part nearer to its own core is drawn (no brighter knot at the join).

varying vec4 band;   // across, along, segment length, half-width
varying vec4 shade;  // level, nearness, segment parity, halo depth

void main() {
    // The quads joining two segments interpolate between the parities; they carry no ribbon.
    if (abs(shade.z) < 0.999) discard;
    float past = max(-band.y, 0.0) + max(band.y - band.z, 0.0);
    float r = length(vec2(past / band.w, band.x));
    if (r >= 1.0) discard;

    float level = shade.x, nearness = shade.y;
    // The core is a narrow bell; where it is only a pixel or two wide, it is spread over the
    // pixel (same total light) so thin far lines do not flicker or step.
    float pixel = fwidth(r);
    float spread = 0.05 + pixel * pixel / 12.0;
    float core = exp(-0.5 * r * r / spread) * sqrt(0.05 / spread);
    float halo = (1.0 - r) * (1.0 - r);
    vec3 cyan = vec3(0.247, 0.843, 1.0);
    vec3 amber = vec3(1.0, 0.702, 0.278);
    vec3 colour = mix(cyan, amber, smoothstep(0.34, 0.65, level));
    float light = 0.4 + 0.6 * nearness;
    float alpha = clamp((0.75 * halo + core) * light, 0.0, 1.0);
    if (alpha < 0.004) discard;
    gl_FragColor = vec4(mix(colour, vec3(1.0), 0.6 * core * core), alpha);
    gl_FragDepth = mix(gl_FragCoord.z, shade.w, min(4.0 * r * r, 1.0));
}
