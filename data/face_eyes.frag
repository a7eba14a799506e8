#version 120
// Eyes: the iris picture (unit 0, the sampler's default) lit like the face, darker towards the
// lids, with a small wet highlight that follows the light.

uniform vec3 lightNormal;
uniform sampler2D eyes;

varying vec3 normal;
varying vec3 eyeNormal;
varying vec2 uv;

void main() {
    vec3 n = normalize(normal);
    vec3 l = normalize(lightNormal);
    vec3 picture = texture2D(eyes, uv).rgb;
    float light = 0.45 + 0.55 * max(dot(n, l), 0.0);
    vec3 e = normalize(eyeNormal);
    vec3 halfway = normalize(vec3(0.3, 0.4, 1.0));
    float wet = pow(max(dot(e, halfway), 0.0), 60.0);
    gl_FragColor = vec4(picture * light + vec3(wet * 0.8), 1.0);
}
