#version 120
// Face: skin over a sculpted head. Fine relief from the tangent-space normal map (u runs around
// the head's up axis, v up towards the crown), soft light from the lat-long light probe (row 0
// straight up, column 0.5 facing +z), a raking key from lightNormal so sockets, nose and mouth
// read, a warm glow where the light turns into shadow (light scattered under the skin), and a
// highlight whose sheen follows the face: forehead, nose and chin shine, the cheeks stay matte.

uniform vec3 lightNormal;
uniform sampler2D ntex;
uniform sampler2D lightProbe;
uniform float aged;      // 0 .. 1 the second face: sunken sockets, cheeks and temples
uniform float machined;  // 0 the skin of the first two faces .. 1 the third face's metal

varying vec3 normal;
varying vec3 modelPosition;
varying vec3 eyeNormal;
varying vec3 eyeLight;
varying vec3 eyePosition;
varying vec2 uv;

const float pi = 3.14159265;

vec3 probe(vec3 n) {
    // atan(0, 0) is undefined: at the crown and under the chin any column will do.
    vec2 at = vec2(atan(n.x, n.z + 1e-6) / (2.0 * pi) + 0.5, acos(clamp(n.y, -1.0, 1.0)) / pi);
    return texture2D(lightProbe, at).rgb;
}

// 1 inside a soft box of texture coordinates: s around the head (0.5 the middle of the face),
// t up from the neck's cut.
float band(vec2 centre, vec2 halfSize, vec2 soft) {
    vec2 inside = smoothstep(halfSize + soft, halfSize, abs(uv - centre));
    return inside.x * inside.y;
}

// How oily the skin is, from the head's texture coordinates, which every face shares: the
// forehead (t 0.65 to 0.82), the nose's ridge and tip (t 0.47 to 0.62) and the chin shine, the
// lips are moist, the cheeks and the skull are matte.
float gloss() {
    float forehead = band(vec2(0.5, 0.735), vec2(0.07, 0.085), vec2(0.05, 0.05));
    float nose = band(vec2(0.5, 0.545), vec2(0.018, 0.075), vec2(0.018, 0.02));
    float chin = band(vec2(0.5, 0.33), vec2(0.04, 0.025), vec2(0.03, 0.02));
    float lips = band(vec2(0.5, 0.43), vec2(0.045, 0.02), vec2(0.02, 0.01));
    return clamp(0.12 + 0.88 * max(max(forehead, nose), 0.75 * max(chin, lips)), 0.0, 1.0);
}

// Where every face has its eye sockets, cheeks and temples (0 elsewhere), from the texture
// coordinates they share, mirrored across the face's middle.
float hollows() {
    vec2 mirrored = vec2(0.5 + abs(uv.x - 0.5), uv.y);
    float sockets = 1.0 - smoothstep(0.3, 1.0, length((mirrored - vec2(0.56, 0.6)) / vec2(0.06, 0.06)));
    float cheeks = 1.0 - smoothstep(0.2, 1.0, length((mirrored - vec2(0.6, 0.47)) / vec2(0.04, 0.07)));
    float temples = 1.0 - smoothstep(0.2, 1.0, length((mirrored - vec2(0.64, 0.66)) / vec2(0.035, 0.06)));
    return clamp(sockets + cheeks + 0.8 * temples, 0.0, 1.0);
}

void main() {
    vec3 n = normalize(normal);
    // Morphing moves the positions only: every face is drawn with the first face's normals.
    // Where a morphed face's shape is what it shows, light it by the triangles' own facing (the
    // screen's derivatives of the position): the older face's sunken sockets, cheeks and
    // temples, and all of the third face, a machine of flat planes. Not the ears or the
    // nostrils, where the grid folds and faceted light shows every fold as a streak.
    float ownFacing = max(aged * hollows(), machined) * 0.9;
    if (ownFacing > 0.0) {
        vec3 faceted = cross(dFdx(modelPosition), dFdy(modelPosition));
        if (length(faceted) > 1e-12) {
            faceted = normalize(faceted);
            if (dot(faceted, n) < 0.0) faceted = -faceted;
            n = normalize(mix(n, faceted, ownFacing));
        }
    }
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
    // Skin, or on the third face brushed steel: cooler, and no light scattered under it.
    vec3 albedo = mix(vec3(0.86, 0.81, 0.76), vec3(0.56, 0.64, 0.72), machined);
    // A floor under the probe: the sockets and the underside of the nose stay shaded skin,
    // never black holes; a warm one, as shadowed skin is.
    vec3 soft = max(probe(detailed) * 1.5, vec3(0.085, 0.07, 0.075));
    vec3 l = normalize(lightNormal);
    float facingLight = dot(detailed, l);
    float key = max(facingLight, 0.0);
    float wrap = max(facingLight * 0.5 + 0.5, 0.0);
    vec3 keyColour = vec3(1.0, 0.93, 0.84);
    vec3 colour = albedo * (soft + keyColour * (0.75 * key + 0.12 * wrap));
    // Light scattered under the skin comes out warm, most where the light grazes the surface.
    float terminator = exp(-facingLight * facingLight / 0.09) * (0.6 + 0.4 * wrap);
    colour += albedo * vec3(0.55, 0.17, 0.09) * 0.34 * terminator * (1.0 - machined);
    vec3 e = normalize(eyeNormal);
    float facing = max(e.z, 0.0);
    float rim = pow(1.0 - facing, 3.0);
    colour += vec3(0.25, 0.84, 1.0) * rim * 0.25;
    // The highlight: broad and faint on matte skin, tighter and brighter where it is oily.
    float g = mix(gloss(), 1.0, machined);
    vec3 eyeDetailed = normalize(gl_NormalMatrix * detailed);
    vec3 halfway = normalize(normalize(eyeLight) + normalize(-eyePosition));
    float specular = pow(max(dot(eyeDetailed, halfway), 0.0), mix(10.0, 48.0, g));
    colour += keyColour * specular * mix(0.05, 0.42, g) * step(0.0, facingLight);
    // The older face's hollows darken too: their faceted light alone is subtle at a distance.
    colour *= 1.0 - aged * 0.45 * hollows();
    // A shoulder instead of a hard clip: the brightest skin rolls off towards 0.94, so the
    // crown keeps its form under the key light instead of burning out to white.
    vec3 over = max(colour - 0.62, 0.0);
    colour = min(colour, 0.62) + 0.32 * (1.0 - exp(-over / 0.32));
    gl_FragColor = vec4(colour, 1.0);
}
