// Helix combine: the object image over the background where it has coverage, plus the bloom:
// the vertical half of the Gaussian (the same 32 weights in "g") over the horizontally blurred
// image, scaled back up since the weights are not normalised (each pass sums to about 0.707).
#version 120

uniform sampler2D bg;
uniform sampler2D obj;
uniform sampler2D objb;
uniform float g[32];

varying vec2 uv;

const float stepV = 1.0 / 270.0;  // tap spacing as a fraction of the height
const float bloomGain = 2.0;

void main() {
    vec3 bloom = texture2D(objb, uv).rgb * g[0];
    for (int i = 1; i < 31; i += 2) {
        float w = g[i] + g[i + 1];
        float offset = (float(i) * g[i] + float(i + 1) * g[i + 1]) / w * stepV;
        bloom += (texture2D(objb, uv + vec2(0.0, offset)).rgb + texture2D(objb, uv - vec2(0.0, offset)).rgb) * w;
    }
    float last = 31.0 * stepV;
    bloom += (texture2D(objb, uv + vec2(0.0, last)).rgb + texture2D(objb, uv - vec2(0.0, last)).rgb) * g[31];

    vec4 object = texture2D(obj, uv);
    vec3 background = texture2D(bg, uv).rgb;
    // A faint shadow of the bloom darkens the wall around the helix so the glow reads.
    background *= 1.0 - 0.25 * clamp(dot(bloom, vec3(0.6)), 0.0, 1.0);
    vec3 colour = mix(background, object.rgb, object.a) + bloom * bloomGain;
    gl_FragColor = vec4(colour, 1.0);
}
