#version 120
// Vein wall: the wall contracts a little on every beat (130 BPM on the demo clock, t is the
// scene's time from 94 s), as if the vein pulsed with the music.

uniform float t;

varying vec3 normal;
varying vec2 uv;
varying vec3 eyePosition;
varying float pulse;

void main() {
    float beat = fract((t + 94.0) * (130.0 / 60.0));
    pulse = exp(-beat * 5.0);
    vec3 position = gl_Vertex.xyz + gl_Normal * (0.07 * pulse);  // normals face inwards
    normal = gl_Normal;
    uv = gl_MultiTexCoord0.st;
    vec4 eye = gl_ModelViewMatrix * vec4(position, 1.0);
    eyePosition = eye.xyz;
    gl_Position = gl_ProjectionMatrix * eye;
}
