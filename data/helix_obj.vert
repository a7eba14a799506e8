// Helix object: fixed-function positions and normals through the camera matrices; the current
// colour carries the rung's flash level (black for the bands).
#version 120

varying vec3 eyeNormal;
varying vec3 eyePosition;
varying float flash;

void main() {
    eyeNormal = gl_NormalMatrix * gl_Normal;
    eyePosition = (gl_ModelViewMatrix * gl_Vertex).xyz;
    flash = gl_Color.r;
    gl_Position = ftransform();
}
