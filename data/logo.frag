// Logo scene: the group's logo emerges from drifting clouds (0-4 s), glows while the cloud
// backdrop thins out and lets the helix show through (5-8.5 s), then burns away along the
// cloud shapes with an amber edge, gone by 12.6 s. Output alpha is the coverage over the frame.
#version 120

uniform float t;
uniform sampler2D logo;
uniform sampler2D clouds;

varying vec2 logoUv;
varying vec2 cloudUv;

const vec3 ground = vec3(0.020, 0.027, 0.051);
const vec3 cyan = vec3(0.247, 0.843, 1.0);
const vec3 amber = vec3(1.0, 0.702, 0.278);
const vec3 coral = vec3(1.0, 0.478, 0.302);

void main() {
    // The two layers are turned against each other and scaled by unrelated factors, so the
    // tile's repeats never line up into a visible grid.
    const mat2 turn = mat2(0.866, 0.5, -0.5, 0.866);
    vec4 far = texture2D(clouds, cloudUv * 0.43 + vec2(t * 0.010, t * 0.003));
    vec4 near = texture2D(clouds, turn * cloudUv * 0.71 + vec2(0.37 - t * 0.018, 0.21 + t * 0.006));
    float density = clamp(far.a * 0.7 + near.a * 0.55, 0.0, 1.0);
    vec3 cloudColour = mix(far.rgb, near.rgb, near.a);

    // The backdrop: ink and teal cloud, fading in from black and thinning out from 5 s.
    float backdropAlpha = smoothstep(0.0, 1.8, t) * (1.0 - smoothstep(5.0, 8.5, t));
    vec3 backdrop = ground + cloudColour * (0.35 + 0.9 * density);

    // Reveal and dissolve fronts move through the cloud density, so the logo condenses out of
    // the thickest cloud first and burns away in the same shapes.
    float pattern = clamp(texture2D(clouds, cloudUv * 0.35 + vec2(0.61, 0.17)).a * 0.75 + near.a * 0.25, 0.0, 1.0);
    float appear = mix(-0.15, 1.15, smoothstep(0.8, 4.2, t));
    float vanish = mix(-0.15, 1.15, smoothstep(9.4, 12.5, t));
    float shown = smoothstep(pattern - 0.08, pattern + 0.08, appear);
    float burnt = smoothstep(pattern - 0.05, pattern + 0.05, vanish);
    float mask = shown * (1.0 - burnt);
    float appearEdge = shown * (1.0 - shown) * 4.0;
    float burnEdge = burnt * (1.0 - burnt) * 4.0 * (1.0 - step(12.5, t));

    vec4 mark = texture2D(logo, logoUv);
    float pulse = 1.0 + 0.06 * sin(t * 2.4);
    vec3 logoColour = mark.rgb * pulse + cyan * appearEdge * 0.8 + mix(coral, amber, burnt) * burnEdge * 1.4;
    float logoAlpha = clamp(mark.a * (mask + 0.9 * burnEdge), 0.0, 1.0);
    // Drifting mist passes in front of the logo while it is forming.
    logoAlpha *= 1.0 - 0.45 * near.a * (1.0 - smoothstep(3.0, 6.0, t));

    float alpha = logoAlpha + backdropAlpha * (1.0 - logoAlpha);
    vec3 colour = (logoColour * logoAlpha + backdrop * backdropAlpha * (1.0 - logoAlpha)) / max(alpha, 1e-4);
    gl_FragColor = vec4(colour, alpha);
}
