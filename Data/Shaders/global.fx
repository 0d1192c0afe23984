// The Global effect: the first effect of the pool, on which the engine writes the shared
// per-frame values and the noise textures (all declared in common.fxh). Its one technique shows
// the noise, drifting with time, over the whole target.
#include "common.fxh"

glsl fragment ShowNoise(vec4 Color : COLOR0) {
    in vec2 uv;
    in vec3 farRay;

    void main()
    {
        float drift = SignedNoise(vec3(uv, Time * 0.05));
        vec2 flow = texture(NoiseVecSampler, uv).xy;
        Color = vec4(vec3(0.5 + 0.5 * drift), 1.0) + vec4(flow, 0.0, 0.0) * 0.1;
    }
}

technique Default {
    pass P0 {
        VertexShader = FullScreen;
        PixelShader = ShowNoise;
        ZEnable = FALSE;
        ZWriteEnable = FALSE;
        CullMode = NONE;
    }
}

// The depth of solid objects alone ("Zbuffer"): the scroller scene lays its cubes into the depth
// buffer of the copied picture, so that the particles drawn over it hide behind them.
float4x4 World : LOCAL;

glsl vertex DepthVertex(vec3 Position : POSITION0) {
    void main()
    {
        gl_Position = vec4(Position, 1.0) * World * ViewProj;
    }
}

glsl fragment DepthOnly() {
    void main()
    {
    }
}

technique Zbuffer {
    pass P0 {
        VertexShader = DepthVertex;
        PixelShader = DepthOnly;
        ZEnable = TRUE;
        ZFunc = LESSEQUAL;
        ZWriteEnable = TRUE;
        ColorWriteEnable = 0;
        CullMode = CW;
        AlphaBlendEnable = FALSE;
    }
}
