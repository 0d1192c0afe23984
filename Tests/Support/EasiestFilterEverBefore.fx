// The earlier code of the screen filter's passes that were made cheaper (see PostEffectsBefore.fx).
#include "common.fxh"

texture2D Background : BGTEX;
// The sampler when it had the mip filter its filter implies.
sampler2D BackgroundSampler = sampler_state { Texture = Background; Filter = LINEAR; Address = MIRROR; };

glsl common {
    const float InvertedOpacity = 0.25;
    const float SplitOpacity = 0.5;
    const float LiftedOpacity = 0.35;
}

// The rectangles' shading when each look read in a branch of its own.
glsl fragment FilterShade(vec4 Color : COLOR0) {
    in vec2 pictureUv;
    in vec2 inRect;
    flat in int look;
    flat in float phase;

    void main()
    {
        float shift = 0.012 + 0.008 * sin(Time * 3.0 + phase);
        vec3 picture;
        float opacity;
        if (look == 0) {
            picture = vec3(1.0) - texture(BackgroundSampler, pictureUv + vec2(shift, 0.0)).rgb;
            opacity = InvertedOpacity;
        } else if (look == 1) {
            picture = vec3(texture(BackgroundSampler, pictureUv + vec2(shift, 0.0)).r,
                           texture(BackgroundSampler, pictureUv).g,
                           texture(BackgroundSampler, pictureUv - vec2(shift, 0.0)).b) * 1.3;
            opacity = SplitOpacity;
        } else {
            float line = 0.75 + 0.25 * step(0.5, fract(gl_FragCoord.y * 0.5));
            picture = (texture(BackgroundSampler, pictureUv + vec2(0.0, shift)).rgb * 1.4 + vec3(0.05)) * line;
            opacity = LiftedOpacity;
        }
        // Soft at the rectangle's edges, so that it lies on the picture rather than cut into it.
        vec2 toEdge = min(inRect, 1.0 - inRect);
        float edge = smoothstep(0.0, 0.06, min(toEdge.x, toEdge.y));
        Color = vec4(picture, opacity * edge);
    }
}
