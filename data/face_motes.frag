#version 120
// A soft round mote with a hot core, mostly cyan, one in five amber.

varying vec2 corner;
varying float seed;
varying float brightness;

void main() {
    float r2 = dot(corner, corner);
    float alpha = exp(-r2 * 5.0) * brightness;
    if (alpha < 0.02) discard;
    vec3 colour = mix(vec3(0.25, 0.84, 1.0), vec3(1.0, 0.7, 0.3), step(0.8, fract(seed * 13.0)));
    gl_FragColor = vec4(colour + vec3(0.4) * exp(-r2 * 30.0), alpha);
}
