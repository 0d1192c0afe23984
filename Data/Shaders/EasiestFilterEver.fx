// The screen filter's rectangles ("EasiestFilterEver"): each is a plate of glass laid on the
// picture (the scene's copy of it, BGTEX): a lens that swells what lies under its middle, a ribbed
// pane that bends it in waves, or a prism that splits its colours along the edge. A plate only
// shows where it has something to bend: its strength follows the brightness it samples, so over
// empty dark background it vanishes, and it never lays a flat tone of its own on the picture.
// Which kind a rectangle is follows its place in the batch.
//
// What a rectangle corner carries: the rectangle's centre in clip space (POSITION0, x and y about
// -1 .. 1), the corner's offset from it (NORMAL0) and the corner's place in the rectangle
// (TEXCOORD0, (0, 0) at the top left to (1, 1)).
#include "common.fxh"

texture2D Background : BGTEX;
// The copy has one level: no mip filter, so the driver works out no level for a read.
sampler2D BackgroundSampler = sampler_state { Texture = Background; Filter = LINEAR; Address = MIRROR; MipFilter = NONE; };

glsl common {
    // How far a plate bends the picture, as a share of its own size.
    const float LensSwell = 0.22;
    const float RibDepth = 0.008;
    const float PrismSplit = 0.012;
    // The brightness below which a plate shows nothing, and above which it shows fully.
    const float DarkBelow = 0.06;
    const float FullAbove = 0.4;
    const float MostOpacity = 0.85;

    float Luma(vec3 c)
    {
        return dot(c, vec3(0.299, 0.587, 0.114));
    }
}

glsl vertex FilterCorner(vec3 Centre : POSITION0, vec3 Corner : NORMAL0, vec2 InRect : TEXCOORD0) {
    out vec2 pictureUv;
    out vec2 inRect;
    flat out vec2 centreUv;
    flat out int look;
    flat out float phase;

    void main()
    {
        vec2 clip = Centre.xy + Corner.xy;
        gl_Position = vec4(clip, 0.0, 1.0);
        // Clip-space y = +1 is the picture's top row, where uv.y = 0.
        pictureUv = clip * vec2(0.5, -0.5) + 0.5;
        centreUv = Centre.xy * vec2(0.5, -0.5) + 0.5;
        inRect = InRect;
        int rect = gl_VertexID / 4;
        look = rect % 3;
        phase = float(rect) * 1.7;
    }
}

glsl fragment FilterShade(vec4 Color : COLOR0) {
    in vec2 pictureUv;
    in vec2 inRect;
    flat in vec2 centreUv;
    flat in int look;
    flat in float phase;

    void main()
    {
        // Where in the plate, -1 .. 1 across it, and how near its middle.
        vec2 across = inRect * 2.0 - 1.0;
        float middle = clamp(1.0 - dot(across, across) * 0.5, 0.0, 1.0);
        vec2 fromCentre = pictureUv - centreUv;

        // Each kind of plate moves the place it reads from; the red and blue reads go a little
        // further or less far than the green one, as light of different colours bends unalike.
        vec2 lens = -fromCentre * LensSwell * middle;
        vec2 ribs = vec2(sin(inRect.y * 14.0 + Time * 1.5 + phase), cos(inRect.x * 9.0 + phase)) * RibDepth;
        vec2 prism = vec2(across.x, across.y * 0.3) * PrismSplit;
        vec2 bend = look == 0 ? lens : (look == 1 ? ribs : prism * 0.5);
        vec2 spread = look == 2 ? prism : bend * 0.08;

        vec2 uv = pictureUv + bend;
        vec3 bent = vec3(texture(BackgroundSampler, uv + spread).r,
                         texture(BackgroundSampler, uv).g,
                         texture(BackgroundSampler, uv - spread).b);
        vec3 under = texture(BackgroundSampler, pictureUv).rgb;

        // Glass catches light at its bevel, brighter the brighter what lies behind.
        vec2 toEdge = min(inRect, 1.0 - inRect);
        float nearEdge = min(toEdge.x, toEdge.y);
        float bevel = 1.0 - smoothstep(0.0, 0.025, nearEdge);
        float light = max(Luma(bent), Luma(under));
        vec3 picture = bent * (1.0 + 0.25 * middle) + bent * bevel * 0.6;

        // Nothing to bend, nothing shown; soft at the very edge so that the plate lies on the
        // picture rather than cut into it.
        float strength = smoothstep(DarkBelow, FullAbove, light);
        float edge = smoothstep(0.0, 0.01, nearEdge);
        Color = vec4(picture, MostOpacity * strength * edge);
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
