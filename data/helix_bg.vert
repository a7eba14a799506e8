// Helix background: one quad in clip space with three coordinate sets (wall, clouds, title).
#version 120

varying vec2 wallUv;
varying vec2 cloudUv;
varying vec2 titleUv;

void main() {
    wallUv = gl_MultiTexCoord0.st;
    cloudUv = gl_MultiTexCoord1.st;
    titleUv = gl_MultiTexCoord2.st;
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
