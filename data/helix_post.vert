// Helix post: the full-screen quad of the combined image (coordinate set 0).
#version 120

varying vec2 uv;

void main() {
    uv = gl_MultiTexCoord0.st;
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
