#version 120
// Tube post pass: a soft glow around bright parts (the greetings, highlights), a vignette and
// a little film grain; the output opacity fades the tube in over the landscape from 94 to
// 100 s. The sampler is not called "input": that word is reserved in GLSL 1.20.

uniform sampler2D scene;
uniform float t;

varying vec2 uv;

float hash(vec2 p) {
    return fract(sin(dot(p, vec2(12.9898, 78.233))) * 43758.5453);
}

void main() {
    vec3 colour = texture2D(scene, uv).rgb;
    vec3 glow = vec3(0.0);
    for (int i = 0; i < 8; ++i) {
        float a = float(i) * 0.785398;
        vec2 offset = vec2(cos(a), sin(a) * 1.7778) * 0.006;
        vec3 near = texture2D(scene, clamp(uv + offset, 0.0, 1.0)).rgb;  // no wrap to the far edge
        vec3 far = texture2D(scene, clamp(uv + 2.2 * offset, 0.0, 1.0)).rgb;
        glow += max(near - 0.6, 0.0) + 0.5 * max(far - 0.6, 0.0);
    }
    colour += glow * 0.08;
    vec2 centred = uv - 0.5;
    float vignette = 1.0 - 0.9 * dot(centred, centred);
    // Grain cells are a fixed share of the picture (1280 across), not screen pixels.
    float grain = (hash(floor(uv * vec2(1280.0, 720.0)) + fract(t * 7.0) * 97.0) - 0.5) * 0.035;
    float opacity = smoothstep(0.0, 6.0, t);
    gl_FragColor = vec4(colour * vignette + grain, opacity);
}
