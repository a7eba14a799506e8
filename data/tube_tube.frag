#version 120
// Vein wall: warm tissue with darker vessels, flowing towards the camera, lit from
// lightNormal with a wet sheen; it brightens on the beat and sinks into a deep red far away.

uniform vec3 lightNormal;
uniform float t;
uniform sampler2D tex;  // unused: the wall is procedural

varying vec3 normal;
varying vec2 uv;
varying vec3 eyePosition;
varying float pulse;

// Value noise whose x repeats every `period` cells, so the wall's seam stays closed.
float hash(vec2 p) {
    return fract(sin(dot(p, vec2(127.1, 311.7))) * 43758.5453);
}
float noise(vec2 p, float period) {
    vec2 i = floor(p);
    vec2 f = fract(p);
    f = f * f * (3.0 - 2.0 * f);
    float x0 = mod(i.x, period), x1 = mod(i.x + 1.0, period);
    return mix(mix(hash(vec2(x0, i.y)), hash(vec2(x1, i.y)), f.x),
               mix(hash(vec2(x0, i.y + 1.0)), hash(vec2(x1, i.y + 1.0)), f.x), f.y);
}

void main() {
    vec2 flow = vec2(uv.x, uv.y + t * 0.9);
    float tissue = 0.55 * noise(flow * vec2(8.0, 3.0), 16.0) + 0.3 * noise(flow * vec2(24.0, 9.0), 48.0) +
                   0.15 * noise(flow * vec2(64.0, 22.0), 128.0);
    float vesselField = noise(flow * vec2(5.0, 1.2) + vec2(0.0, 2.0 * tissue), 10.0);
    float vessel = 1.0 - smoothstep(0.0, 0.06, abs(vesselField - 0.5));

    vec3 deep = vec3(0.22, 0.02, 0.03);
    vec3 flesh = vec3(0.85, 0.24, 0.18);
    vec3 coral = vec3(1.0, 0.48, 0.30);
    vec3 colour = mix(deep, flesh, tissue);
    colour = mix(colour, coral, smoothstep(0.7, 0.95, tissue) * 0.6);
    colour = mix(colour, vec3(0.30, 0.02, 0.06), vessel * 0.7);

    vec3 n = normalize(normal);
    vec3 l = normalize(lightNormal);
    float diffuse = 0.35 + 0.65 * max(dot(n, l), 0.0);
    vec3 toEye = normalize(-eyePosition);
    float sheen = pow(max(dot(reflect(-toEye, normalize(gl_NormalMatrix * n)), toEye), 0.0), 24.0);
    vec3 lit = colour * diffuse * (0.85 + 0.5 * pulse) + vec3(1.0, 0.7, 0.55) * sheen * 0.25;

    float distance = length(eyePosition);
    float haze = smoothstep(3.0, 30.0, distance);
    lit = mix(lit, vec3(0.10, 0.01, 0.02), haze);
    gl_FragColor = vec4(lit, 1.0);
}
