#version 120
// The cable, and the scene's timed effects, which ride in the cable's mesh because its program
// is the only one of the scene that knows the time. Texture s tells them apart:
//   0..1  the cable (s along it)
//   2     the credits' mask: drawn fully transparent, it only writes depth, so the credits
//         (drawn after it, behind it) stay hidden until a wipe sweeps it away from the mast
//   3     the wipe's glowing front
//   4     motes drifting around the group (a billboard per four vertices; normal xy is the
//         corner, normal z the size, texture t a seed)
//   5     the closing fade: a quad over the whole picture that turns black with the music
//   6     the credits' mask of the second camera: a depth-only box around them, since that
//         camera only ever sees them edge-on, from behind the head
// Texture t of the mask and the front says which edge a vertex is on (0 the moving one).
// t is the scene's local time: it runs from 0 at 134 s and jumps from 20 to 21 at the cut.

uniform float t;

varying vec3 normal;
varying vec3 eyeNormal;
varying vec2 uv;
varying float kind;
varying float glow;

const vec4 nowhere = vec4(2.0, 2.0, 2.0, 1.0);  // outside the clip volume: not drawn

// Where the wipe's front stands (group y), from the mast out past the credits' far edge.
float wipeFront() { return mix(-0.55, 4.3, smoothstep(3.1, 4.5, t)); }

// 0 before the fade, 1 at black (169.85 s), following the music's fade from 166 s.
float fade() { return smoothstep(33.3, 36.85, t); }

void main() {
    normal = gl_Normal;
    eyeNormal = gl_NormalMatrix * gl_Normal;
    uv = gl_MultiTexCoord0.st;
    kind = floor(uv.x + 0.5) >= 2.0 ? floor(uv.x + 0.5) : 0.0;
    glow = 1.0;
    vec4 p = gl_Vertex;
    if (kind == 2.0 || kind == 3.0) {
        if (t > 5.0) { gl_Position = nowhere; return; }
        float front = wipeFront();
        if (kind == 2.0 && uv.y < 0.5) p.y = front;
        if (kind == 3.0) p.y = front + (uv.y - 0.5) * 0.05;
        glow = smoothstep(3.0, 3.3, t) * (1.0 - smoothstep(4.2, 4.6, t));
    } else if (kind == 4.0) {
        float seed = uv.y;
        // Slow rise through a band of the group's frame, wrapping round, with a gentle sway.
        float span = 12.0;
        p.y = mod(p.y + t * (0.12 + 0.1 * fract(seed * 7.3)) + span * 0.5, span) - span * 0.5;
        p.x += 0.25 * sin(t * 0.7 + seed * 40.0);
        p.z += 0.25 * cos(t * 0.5 + seed * 23.0);
        float life = sin(3.14159 * (p.y + span * 0.5) / span);
        float beat = fract((t + 134.0 - step(20.5, t)) * (130.0 / 60.0));
        glow = life * (0.55 + 0.45 * exp(-beat * 4.0)) * (1.0 - fade());
        vec4 centre = gl_ModelViewMatrix * p;
        centre.xy += gl_Normal.xy * gl_Normal.z;
        gl_Position = gl_ProjectionMatrix * centre;
        return;
    } else if (kind == 5.0) {
        glow = fade();
        gl_Position = glow > 0.0 ? vec4(gl_Normal.xy, -1.0, 1.0) : nowhere;
        return;
    } else if (kind == 6.0) {
        gl_Position = t > 20.5 ? gl_ModelViewProjectionMatrix * p : nowhere;
        return;
    }
    gl_Position = gl_ModelViewProjectionMatrix * p;
}
