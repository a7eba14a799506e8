// Helix background: the organic wall, breathing slowly, under two layers of cyan cloud that
// drift at different speeds, and the title in the top-left corner, fading in once the logo
// has gone (13.5-15.5 s of demo time, local time 0.5-2.5). Opaque.
#version 120

uniform float t;
uniform sampler2D wall;
uniform sampler2D clouds;
uniform sampler2D title;

varying vec2 wallUv;
varying vec2 cloudUv;
varying vec2 titleUv;

void main() {
    vec3 colour = texture2D(wall, wallUv).rgb * (0.9 + 0.1 * sin(t * 0.7));
    vec4 slow = texture2D(clouds, cloudUv * 0.7 + vec2(t * 0.006, -t * 0.002));
    vec4 fast = texture2D(clouds, cloudUv * 1.15 + vec2(0.5 - t * 0.013, 0.25 + t * 0.004));
    colour += slow.rgb * slow.a * 0.22 + fast.rgb * fast.a * 0.14;

    vec4 name = texture2D(title, titleUv);
    float titleAlpha = name.a * smoothstep(0.5, 2.5, t);
    colour = mix(colour, name.rgb * 1.08, titleAlpha);
    gl_FragColor = vec4(colour, 1.0);
}
