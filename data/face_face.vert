#version 120
// Face: model-space normal and position (the probe, the light and the normal map's frame live
// there), texture coordinates for the normal map and the skin's gloss, and eye-space normal,
// light and position for the highlight.

uniform vec3 lightNormal;

varying vec3 normal;
varying vec3 modelPosition;
varying vec3 eyeNormal;
varying vec3 eyeLight;
varying vec3 eyePosition;
varying vec2 uv;

void main() {
    normal = gl_Normal;
    modelPosition = gl_Vertex.xyz;
    eyeNormal = gl_NormalMatrix * gl_Normal;
    eyeLight = gl_NormalMatrix * lightNormal;
    eyePosition = (gl_ModelViewMatrix * gl_Vertex).xyz;
    uv = gl_MultiTexCoord0.st;
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
