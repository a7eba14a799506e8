#version 120
// Eyes: model-space normal for the light, eye-space normal for the wet highlight.

varying vec3 normal;
varying vec3 eyeNormal;
varying vec2 uv;

void main() {
    normal = gl_Normal;
    eyeNormal = gl_NormalMatrix * gl_Normal;
    uv = gl_MultiTexCoord0.st;
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
