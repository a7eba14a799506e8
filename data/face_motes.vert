#version 120
// Motes drifting around the group, one billboard per four vertices at the mote's centre (the
// normal's xy is the corner, its z the size; texture s a seed). They rise through a band of
// the group's frame and wrap round it, swaying, brightest in the band's middle.

uniform float drift;  // seconds drifted: the scene's local time
uniform float band;   // height of the band they rise through
uniform float glow;   // the beat's pulse, already dimmed with the closing fade

varying vec2 corner;
varying float seed;
varying float brightness;

void main() {
    seed = gl_MultiTexCoord0.s;
    corner = gl_Normal.xy;
    vec4 p = gl_Vertex;
    p.y = mod(p.y + drift * (0.12 + 0.1 * fract(seed * 7.3)) + band * 0.5, band) - band * 0.5;
    p.x += 0.25 * sin(drift * 0.7 + seed * 40.0);
    p.z += 0.25 * cos(drift * 0.5 + seed * 23.0);
    float life = sin(3.14159 * (p.y + band * 0.5) / band);
    brightness = life * glow;
    vec4 centre = gl_ModelViewMatrix * p;
    centre.xy += gl_Normal.xy * gl_Normal.z;
    gl_Position = gl_ProjectionMatrix * centre;
}
