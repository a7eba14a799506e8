#version 120
// Blood cell: eye-space normal and position for a glossy, rim-lit surface.

varying vec3 normal;
varying vec3 eyePosition;

void main() {
    normal = gl_NormalMatrix * gl_Normal;
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    eyePosition = eye.xyz;
    gl_Position = gl_ProjectionMatrix * eye;
}
