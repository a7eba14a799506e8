#version 120
// The wipe's glowing front, brightest along its middle. The mask drawn with the same program
// writes depth only: the scene turns colour writes off for it.

uniform float glow;

varying float across;  // 0 and 1 on the strip's edges

void main() {
    float off = abs(across - 0.5) * 2.0;
    gl_FragColor = vec4(vec3(0.55, 0.92, 1.0), glow * (1.0 - off * off));
}
