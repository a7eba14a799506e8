#version 120
// A glowing band: a hot core along the middle, a soft halo towards the edges. Quiet parts of
// the spectrum glow teal, louder ones cyan, and the loudest turn amber. Far lines are dimmer,
// so the landscape has depth. The faint outer halo is dropped so it does not hide the lines
// behind it in the depth buffer.

varying float across;
varying float level;
varying float nearness;

void main() {
    float core = exp(-across * across * 9.0);
    float halo = 1.0 - abs(across);
    vec3 teal = vec3(0.12, 0.71, 0.66);
    vec3 cyan = vec3(0.25, 0.84, 1.0);
    vec3 amber = vec3(1.0, 0.70, 0.28);
    vec3 colour = mix(teal, cyan, smoothstep(0.02, 0.25, level));
    colour = mix(colour, amber, smoothstep(0.34, 0.65, level));
    float light = 0.35 + 0.65 * nearness;
    float alpha = clamp((0.45 * halo + core) * light, 0.0, 1.0);
    if (alpha < 0.04) discard;
    gl_FragColor = vec4(colour * (0.55 + 0.9 * core) + vec3(0.35 * core * core), alpha);
}
