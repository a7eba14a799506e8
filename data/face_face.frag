#version 120
// Face: a pale sculpted surface. Fine relief from the tangent-space normal map (u runs around
// the head's up axis, v up towards the crown), soft light from the lat-long light probe
// (row 0 straight up, column 0.5 facing +z), a raking key from lightNormal so sockets, nose
// and mouth read, and a soft highlight.

uniform vec3 lightNormal;
uniform sampler2D ntex;
uniform sampler2D lightProbe;

varying vec3 normal;
varying vec3 eyeNormal;
varying vec2 uv;

const float pi = 3.14159265;

vec3 probe(vec3 n) {
    // atan(0, 0) is undefined: at the crown and under the chin any column will do.
    vec2 at = vec2(atan(n.x, n.z + 1e-6) / (2.0 * pi) + 0.5, acos(clamp(n.y, -1.0, 1.0)) / pi);
    return texture2D(lightProbe, at).rgb;
}

void main() {
    vec3 n = normalize(normal);
    vec3 around = cross(vec3(0.0, 1.0, 0.0), n);
    // At the crown "around" vanishes: keep the plain normal there.
    float aroundLength = length(around);
    vec3 detailed = n;
    if (aroundLength > 0.05) {
        vec3 tangent = around / aroundLength;
        vec3 bitangent = cross(n, tangent);
        vec3 relief = texture2D(ntex, uv).rgb * 2.0 - 1.0;
        detailed = normalize(tangent * relief.x + bitangent * relief.y + n * relief.z);
    }
    vec3 albedo = vec3(0.86, 0.82, 0.77);
    // A floor under the probe: the sockets and the underside of the nose stay shaded skin,
    // never black holes.
    vec3 soft = max(probe(detailed) * 1.5, vec3(0.07, 0.08, 0.1));
    vec3 l = normalize(lightNormal);
    float key = max(dot(detailed, l), 0.0);
    float wrap = max(dot(detailed, l) * 0.5 + 0.5, 0.0);
    vec3 keyColour = vec3(1.0, 0.93, 0.84);
    vec3 colour = albedo * (soft + keyColour * (0.75 * key + 0.12 * wrap));
    vec3 e = normalize(eyeNormal);
    float facing = max(e.z, 0.0);
    float rim = pow(1.0 - facing, 3.0);
    colour += vec3(0.25, 0.84, 1.0) * rim * 0.25;
    colour += keyColour * pow(key, 24.0) * 0.25;
    // A shoulder instead of a hard clip: the brightest skin rolls off towards 0.94, so the
    // crown keeps its form under the key light instead of burning out to white.
    vec3 over = max(colour - 0.62, 0.0);
    colour = min(colour, 0.62) + 0.32 * (1.0 - exp(-over / 0.32));
    gl_FragColor = vec4(colour, 1.0);
}
