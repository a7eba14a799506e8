#version 120
// Modules: dark brushed metal in the ink blue of the ground, lit from lightNormal, with a
// cool reflected sky from above, a warm rim and thin glowing seams of teal.

uniform vec3 lightNormal;

varying vec3 normal;
varying vec3 eyeNormal;
varying vec3 position;

void main() {
    vec3 n = normalize(normal);
    vec3 l = normalize(lightNormal);
    vec3 e = normalize(eyeNormal);
    float diffuse = max(dot(n, l), 0.0);
    float sky = n.y * 0.5 + 0.5;
    vec3 metal = vec3(0.16, 0.19, 0.25);
    vec3 colour = metal * (0.35 + 0.9 * diffuse) + vec3(0.10, 0.28, 0.34) * sky * 0.5;
    float facing = max(e.z, 0.0);
    colour += vec3(1.0, 0.6, 0.3) * pow(1.0 - facing, 4.0) * 0.35;
    colour += vec3(0.9, 0.95, 1.0) * pow(max(dot(reflect(-l, n), vec3(0.0, 0.0, 1.0)), 0.0), 30.0) * 0.3;
    // Plates: rows of seams up the group and fewer across it, so a broad surface reads as
    // panels rather than stripes.
    float rows = smoothstep(0.95, 1.0, abs(sin(position.y * 24.0)));
    float columns = smoothstep(0.97, 1.0, abs(sin(position.x * 6.0)));
    float seam = max(rows, columns);
    colour += vec3(0.25, 0.84, 1.0) * seam * 0.18;
    gl_FragColor = vec4(colour, 1.0);
}
