// The screen filter's rectangles ("EasiestFilterEver"): each shows the picture under it (the scene's
// copy of it, BGTEX) changed a little and laid over it half see-through: an inverted copy pulled
// sideways, a copy with its colour channels split apart, or a lifted copy with scan lines. Which
// one a rectangle shows follows its place in the batch.
//
// What a rectangle corner carries: the rectangle's centre in clip space (POSITION0, x and y about
// -1 .. 1), the corner's offset from it (NORMAL0) and the corner's place in the rectangle
// (TEXCOORD0, (0, 0) at the top left to (1, 1)).
#include "common.fxh"

texture2D Background : BGTEX;
// The copy has one level: no mip filter, so the driver works out no level for a read.
sampler2D BackgroundSampler = sampler_state { Texture = Background; Filter = LINEAR; Address = MIRROR; MipFilter = NONE; };

glsl common {
    // How much of each kind of changed copy shows over the picture: an inverted dark picture is
    // bright, so it shows least.
    const float InvertedOpacity = 0.25;
    const float SplitOpacity = 0.5;
    const float LiftedOpacity = 0.35;
}

glsl vertex FilterCorner(vec3 Centre : POSITION0, vec3 Corner : NORMAL0, vec2 InRect : TEXCOORD0) {
    out vec2 pictureUv;
    out vec2 inRect;
    flat out int look;
    flat out float phase;

    void main()
    {
        vec2 clip = Centre.xy + Corner.xy;
        gl_Position = vec4(clip, 0.0, 1.0);
        // Clip-space y = +1 is the picture's top row, where uv.y = 0.
        pictureUv = clip * vec2(0.5, -0.5) + 0.5;
        inRect = InRect;
        int rect = gl_VertexID / 4;
        look = rect % 3;
        phase = float(rect) * 1.7;
    }
}

glsl fragment FilterShade(vec4 Color : COLOR0) {
    in vec2 pictureUv;
    in vec2 inRect;
    flat in int look;
    flat in float phase;

    void main()
    {
        float shift = 0.012 + 0.008 * sin(Time * 3.0 + phase);
        // The three reads any look needs, and every look worked out from them: the driver would run
        // each side of a branch on the look anyway, so there is none.
        vec3 ahead = texture(BackgroundSampler, pictureUv + (look == 2 ? vec2(0.0, shift) : vec2(shift, 0.0))).rgb;
        vec3 here = texture(BackgroundSampler, pictureUv).rgb;
        vec3 behind = texture(BackgroundSampler, pictureUv - vec2(shift, 0.0)).rgb;
        vec3 inverted = vec3(1.0) - ahead;
        vec3 split = vec3(ahead.r, here.g, behind.b) * 1.3;
        float line = 0.75 + 0.25 * step(0.5, fract(gl_FragCoord.y * 0.5));
        vec3 lifted = (ahead * 1.4 + vec3(0.05)) * line;
        vec3 picture = look == 0 ? inverted : (look == 1 ? split : lifted);
        float opacity = look == 0 ? InvertedOpacity : (look == 1 ? SplitOpacity : LiftedOpacity);
        // Soft at the rectangle's edges, so that it lies on the picture rather than cut into it.
        vec2 toEdge = min(inRect, 1.0 - inRect);
        float edge = smoothstep(0.0, 0.06, min(toEdge.x, toEdge.y));
        Color = vec4(picture, opacity * edge);
    }
}

technique EasiestFilterEver {
    pass P0 {
        VertexShader = FilterCorner; PixelShader = FilterShade;
        ZEnable = FALSE; ZWriteEnable = FALSE; CullMode = NONE;
        AlphaBlendEnable = TRUE; SrcBlend = SRCALPHA; DestBlend = INVSRCALPHA; BlendOp = ADD;
        ColorWriteEnable = RED | GREEN | BLUE | ALPHA;
    }
}
