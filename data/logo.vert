// Logo scene: one viewport quad in clip space; set 0 addresses the logo, set 1 the cloud tile.
#version 120

varying vec2 logoUv;
varying vec2 cloudUv;

void main() {
    logoUv = gl_MultiTexCoord0.st;
    cloudUv = gl_MultiTexCoord1.st;
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
