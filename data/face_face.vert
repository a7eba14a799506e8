#version 120
// Face: model-space normal (the probe and the normal map's frame live there), texture
// coordinates for the normal map, and the eye-space normal for the highlight.

varying vec3 normal;
varying vec3 eyeNormal;
varying vec2 uv;

void main() {
    normal = gl_Normal;
    eyeNormal = gl_NormalMatrix * gl_Normal;
    uv = gl_MultiTexCoord0.st;
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
