#version 120
// Cable: model-space normal and the position along the cable (texture s) for its pulses.

varying vec3 normal;
varying vec3 eyeNormal;
varying vec2 uv;

void main() {
    normal = gl_Normal;
    eyeNormal = gl_NormalMatrix * gl_Normal;
    uv = gl_MultiTexCoord0.st;
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
