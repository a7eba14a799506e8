#version 120
// The cable down the mast: texture s runs along it from the head. The scene's timed effects
// are drawn apart, each with its own mesh and program (face_motes, face_wipe).

varying vec3 normal;
varying vec3 eyeNormal;
varying vec2 uv;

void main() {
    normal = gl_Normal;
    eyeNormal = gl_NormalMatrix * gl_Normal;
    uv = gl_MultiTexCoord0.st;
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
