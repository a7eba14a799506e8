#version 120
// Cable: dark ribbed sheath lit from lightNormal; pulses of cyan light run along it from the
// head on the beat (130 BPM; t is the scene's time from 134 s).

uniform vec3 lightNormal;
uniform float t;
uniform sampler2D tex;  // unused: the cable is shaded, not textured

varying vec3 normal;
varying vec3 eyeNormal;
varying vec2 uv;

void main() {
    vec3 n = normalize(normal);
    float diffuse = max(dot(n, normalize(lightNormal)), 0.0);
    float ribs = 0.85 + 0.15 * sin(uv.x * 600.0);
    vec3 colour = vec3(0.10, 0.12, 0.17) * (0.4 + 0.8 * diffuse) * ribs;
    float beat = fract((t + 134.0) * (130.0 / 60.0));
    float travel = fract(uv.x * 3.0 - beat);
    float pulse = exp(-travel * 10.0) * (0.5 + 0.5 * exp(-beat * 3.0));
    colour += vec3(0.25, 0.84, 1.0) * pulse * 0.8;
    float facing = max(normalize(eyeNormal).z, 0.0);
    colour += vec3(1.0, 0.6, 0.3) * pow(1.0 - facing, 3.0) * 0.2;
    gl_FragColor = vec4(colour, 1.0);
}
