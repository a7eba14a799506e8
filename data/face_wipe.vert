#version 120
// The credits' wipe: vertices with texture s = 1 ride the front, their y an offset from it;
// the others stay where they are. Texture t runs across the front's strip.

uniform float front;  // group y of the wipe's front

varying float across;

void main() {
    vec4 p = gl_Vertex;
    p.y += front * gl_MultiTexCoord0.s;
    across = gl_MultiTexCoord0.t;
    gl_Position = gl_ModelViewProjectionMatrix * p;
}
