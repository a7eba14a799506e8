#version 120
// Modules: model-space normal for the light, eye-space normal for reflections.

varying vec3 normal;
varying vec3 eyeNormal;
varying vec3 position;

void main() {
    normal = gl_Normal;
    eyeNormal = gl_NormalMatrix * gl_Normal;
    position = gl_Vertex.xyz;
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
