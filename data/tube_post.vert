#version 120
// Tube post pass: the off-screen image on a full-screen quad (texture-coordinate set 0).

varying vec2 uv;

void main() {
    uv = gl_MultiTexCoord0.st;
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
