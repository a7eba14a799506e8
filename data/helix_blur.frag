// Helix blur, first half of the bloom: a horizontal Gaussian over 63 taps of the object image
// with the 32 weights in "g", read as 32 samples by letting the linear filter merge each pair
// of neighbouring taps. Warm light (the flashes) feeds the bloom far more than the cyan bands.
// Written with alpha 0.8, so a fifth of the last frame's bloom lingers as a short trail.
#version 120

uniform sampler2D tex;
uniform float g[32];

varying vec2 uv;

const float stepU = 1.0 / 480.0;  // tap spacing as a fraction of the width, whatever its pixels

vec3 glowOf(vec2 at) {
    vec3 c = texture2D(tex, at).rgb;
    return c * (0.15 + 1.2 * c.r * c.r);  // warm flashes glow far more than the cyan bands
}

void main() {
    vec3 sum = glowOf(uv) * g[0];
    for (int i = 1; i < 31; i += 2) {
        float w = g[i] + g[i + 1];
        float offset = (float(i) * g[i] + float(i + 1) * g[i + 1]) / w * stepU;
        sum += (glowOf(uv + vec2(offset, 0.0)) + glowOf(uv - vec2(offset, 0.0))) * w;
    }
    float last = 31.0 * stepU;
    sum += (glowOf(uv + vec2(last, 0.0)) + glowOf(uv - vec2(last, 0.0))) * g[31];
    gl_FragColor = vec4(sum, 0.8);
}
