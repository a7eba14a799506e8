#version 120
// Cable: dark ribbed sheath lit from lightNormal; pulses of cyan light run along it from the
// head on the music's beat, which the scene hands over as a phase.

uniform vec3 lightNormal;
uniform float t;        // the scene's local time (unused: the beat comes as a phase)
uniform sampler2D tex;  // unused: the cable is shaded, not textured
uniform float beat;     // 0 on a beat, rising to 1 before the next

varying vec3 normal;
varying vec3 eyeNormal;
varying vec2 uv;

void main() {
    vec3 n = normalize(normal);
    float diffuse = max(dot(n, normalize(lightNormal)), 0.0);
    float ribs = 0.85 + 0.15 * sin(uv.x * 1800.0);
    vec3 colour = vec3(0.10, 0.12, 0.17) * (0.4 + 0.8 * diffuse) * ribs;
    float travel = fract(uv.x * 9.0 - beat);
    float pulse = exp(-travel * 10.0) * (0.5 + 0.5 * exp(-beat * 3.0));
    colour += vec3(0.25, 0.84, 1.0) * pulse * 0.8;
    float facing = max(normalize(eyeNormal).z, 0.0);
    colour += vec3(1.0, 0.6, 0.3) * pow(1.0 - facing, 3.0) * 0.12;
    gl_FragColor = vec4(colour, 1.0);
}
