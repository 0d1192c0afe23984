// The player's overlay in dev mode: lines of text from the glyph atlas over dark boxes, drawn over
// the finished picture. A corner carries its place in clip space (POSITION0), its tint (COLOR0)
// and its place in the atlas (TEXCOORD0); a box's corners have no place in it (u below 0) and take
// their tint whole.
texture2D Glyphs : GLYPHTEX;
sampler2D GlyphSampler = sampler_state { Texture = Glyphs; Filter = LINEAR; Address = CLAMP; MipFilter = NONE; };

glsl vertex OverlayCorner(vec3 Position : POSITION0, vec4 Tint : COLOR0, vec2 Uv : TEXCOORD0) {
    out vec4 tint;
    out vec2 uv;

    void main()
    {
        gl_Position = vec4(Position.xy, 0.0, 1.0);
        tint = Tint;
        uv = Uv;
    }
}

glsl fragment OverlayShade(vec4 Color : COLOR0) {
    in vec4 tint;
    in vec2 uv;

    void main()
    {
        float ink = uv.x < 0.0 ? 1.0 : texture(GlyphSampler, uv).a;
        Color = vec4(tint.rgb, tint.a * ink);
    }
}

technique Overlay {
    pass P0 {
        VertexShader = OverlayCorner; PixelShader = OverlayShade;
        ZEnable = FALSE; ZWriteEnable = FALSE; CullMode = NONE;
        AlphaBlendEnable = TRUE; SrcBlend = SRCALPHA; DestBlend = INVSRCALPHA; BlendOp = ADD;
        ColorWriteEnable = RED | GREEN | BLUE | ALPHA;
    }
}
