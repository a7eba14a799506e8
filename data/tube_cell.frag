#version 120
// Blood cell: deep glossy red, lit from lightNormal (in eye space), a hot highlight and a coral
// rim where the disc turns away, fading into the vein's red haze with distance.

uniform vec3 lightNormal;
uniform float t;
uniform sampler2D tex;  // unused: the cell is shaded, not textured

varying vec3 normal;
varying vec3 eyePosition;

void main() {
    vec3 n = normalize(normal);
    vec3 toEye = normalize(-eyePosition);
    if (dot(n, toEye) < 0.0) n = -n;  // both faces of the disc are lit alike
    vec3 l = normalize(lightNormal);
    float diffuse = 0.25 + 0.75 * max(dot(n, l), 0.0);
    float highlight = pow(max(dot(reflect(-l, n), toEye), 0.0), 40.0);
    float rim = pow(1.0 - max(dot(n, toEye), 0.0), 3.0);
    float shimmer = 0.92 + 0.08 * sin(t * 3.0 + eyePosition.z * 4.0);
    vec3 colour = vec3(0.72, 0.05, 0.07) * diffuse * shimmer + vec3(1.0, 0.85, 0.8) * highlight * 0.8 +
                  vec3(1.0, 0.48, 0.30) * rim * 0.5;
    float haze = smoothstep(3.0, 30.0, length(eyePosition));
    gl_FragColor = vec4(mix(colour, vec3(0.10, 0.01, 0.02), haze), 1.0);
}
