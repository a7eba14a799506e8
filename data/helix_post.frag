// Helix post: a soft tone curve, a vignette and a little film grain on the combined image, and
// the fades at the scene's edges: in over 1.5 s from its start (local time -8), out over the
// last 1.5 s before 74 s (local time 61); the fade is the alpha over the cleared frame.
//
// The sampler is not called "input": that word is reserved in GLSL 1.20, so no shader can
// declare it. Its lookup finds nothing and setting it is ignored; this sampler keeps its default
// unit 0, where the full-screen quad binds the combined image.
#version 120

uniform float t;
uniform sampler2D combined;

varying vec2 uv;

// Grain cells are a fixed share of the picture (1280 across), not screen pixels: the same grain
// on a 720p window and on a 4K projector, only sharper.
float grain(vec2 at) {
    vec2 cell = floor(at * vec2(1280.0, 720.0));
    return fract(sin(dot(cell + fract(t * 7.13), vec2(12.9898, 78.233))) * 43758.5453) - 0.5;
}

void main() {
    vec3 colour = texture2D(combined, uv).rgb;
    colour = colour * 1.2 / (1.0 + 0.2 * colour);  // bright flashes roll off instead of clipping flat
    vec2 centred = uv - 0.5;
    float vignette = 1.0 - 0.45 * dot(centred, centred);
    colour *= vignette;
    colour += grain(uv) * 0.018;
    float fade = smoothstep(-8.0, -6.5, t) * (1.0 - smoothstep(59.5, 61.0, t));
    gl_FragColor = vec4(colour, fade);
}
