// Helix object: bioluminescent cyan and teal bands and rungs lit from "lightNormal" (eye
// space), with a rim glow and depth haze; a flashing rung burns coral to amber with its level.
#version 120

uniform vec3 lightNormal;

varying vec3 eyeNormal;
varying vec3 eyePosition;
varying float flash;

const vec3 teal = vec3(0.122, 0.710, 0.659);
const vec3 cyan = vec3(0.247, 0.843, 1.0);
const vec3 coral = vec3(1.0, 0.478, 0.302);
const vec3 amber = vec3(1.0, 0.702, 0.278);
const vec3 ink = vec3(0.043, 0.078, 0.149);

void main() {
    // The band's end edges carry a zero normal; normalize() of it is undefined.
    vec3 n = dot(eyeNormal, eyeNormal) > 1e-12 ? normalize(eyeNormal) : vec3(0.0, 0.0, 1.0);
    vec3 l = normalize(lightNormal);
    vec3 v = normalize(-eyePosition);
    float facing = max(dot(n, v), 0.0);
    float diffuse = max(dot(n, l), 0.0);
    float specular = pow(max(dot(reflect(-l, n), v), 0.0), 28.0);
    float rim = pow(1.0 - facing, 2.2);

    vec3 base = mix(teal, cyan, 0.5 + 0.5 * n.y);
    vec3 colour = base * (0.16 + 0.7 * diffuse) + cyan * rim * 0.85 + vec3(0.85, 0.97, 1.0) * specular * 0.45;
    // Far parts sink into the ink of the ground.
    float haze = exp(-max(length(eyePosition) - 4.0, 0.0) * 0.045);
    colour = mix(ink, colour, haze);

    // A flash replaces the cyan with coral turning amber as it peaks; the bloom spreads it.
    float level = clamp(flash, 0.0, 1.0);
    vec3 hot = mix(coral, amber, level * level) * (0.62 + 0.22 * diffuse + 0.3 * rim);
    colour = mix(colour, hot, smoothstep(0.0, 0.35, level));
    gl_FragColor = vec4(colour, 1.0);
}
