#version 120
// Cable: dark ribbed sheath lit from lightNormal; pulses of cyan light run along it from the
// head on the beat (130 BPM). The timed effects that share its mesh: see face_tube.vert.

uniform vec3 lightNormal;
uniform float t;
uniform sampler2D tex;  // unused: the cable is shaded, not textured

varying vec3 normal;
varying vec3 eyeNormal;
varying vec2 uv;
varying float kind;
varying float glow;

void main() {
    float k = floor(kind + 0.5);
    if (k == 2.0 || k == 6.0) {
        gl_FragColor = vec4(0.0);  // depth only
        return;
    }
    if (k == 3.0) {
        float across = abs(uv.y - 0.5) * 2.0;
        gl_FragColor = vec4(vec3(0.55, 0.92, 1.0), glow * (1.0 - across * across));
        return;
    }
    if (k == 4.0) {
        vec2 corner = normal.xy;
        float r2 = dot(corner, corner);
        float alpha = exp(-r2 * 5.0) * glow;
        if (alpha < 0.02) discard;
        vec3 colour = mix(vec3(0.25, 0.84, 1.0), vec3(1.0, 0.7, 0.3), step(0.8, fract(uv.y * 13.0)));
        gl_FragColor = vec4(colour + vec3(0.4) * exp(-r2 * 30.0), alpha);
        return;
    }
    if (k == 5.0) {
        gl_FragColor = vec4(0.0, 0.0, 0.0, glow);
        return;
    }
    vec3 n = normalize(normal);
    float diffuse = max(dot(n, normalize(lightNormal)), 0.0);
    float ribs = 0.85 + 0.15 * sin(uv.x * 1800.0);
    vec3 colour = vec3(0.10, 0.12, 0.17) * (0.4 + 0.8 * diffuse) * ribs;
    // The local time runs a second ahead after the cut at 154 s: take it back out, so the
    // pulses stay on the beat in both phases.
    float beat = fract((t + 134.0 - step(20.5, t)) * (130.0 / 60.0));
    float travel = fract(uv.x * 9.0 - beat);
    float pulse = exp(-travel * 10.0) * (0.5 + 0.5 * exp(-beat * 3.0));
    colour += vec3(0.25, 0.84, 1.0) * pulse * 0.8;
    float facing = max(normalize(eyeNormal).z, 0.0);
    colour += vec3(1.0, 0.6, 0.3) * pow(1.0 - facing, 3.0) * 0.12;
    gl_FragColor = vec4(colour, 1.0);
}
