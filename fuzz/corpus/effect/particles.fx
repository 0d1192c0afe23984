#include "common.fxh"
float3 Kernel[16] : SSAOKERNEL = {1,0,0, 0,1,0, 0,0,1, 1,1,0, 0,1,1, 1,0,1, 1,1,1, 0.5,0.5,0.5,
    -1,0,0, 0,-1,0, 0,0,-1, -1,-1,0, 0,-1,-1, -1,0,-1, -1,-1,-1, -.5,-.5,-.5};
texture2D Dots : TEXTURE0 < string ResourceName = "dots.png"; string Filter = "NONE"; >;
textureCUBE Env : TEXTURE1 < string Type = "CUBE"; string ResourceName = "sky.dds"; >;
sampler2D DotSampler = sampler_state { Texture = Dots; MinFilter = ANISOTROPIC; MagFilter = LINEAR; MipFilter = POINT; MaxAnisotropy = 8; };
samplerCUBE EnvSampler = sampler_state { Texture = Env; AddressU = MIRROR; AddressV = BORDER; AddressW = MIRRORONCE; BorderColor = {0, 0.5, 1, 1}; };
glsl vertex Sprite(vec3 Centre : POSITION0, vec3 Corner : NORMAL0, vec4 Tint : COLOR0, vec2 Uv : TEXCOORD0, vec3 Previous : POSITION1) {
    out vec4 tint; /* a } in a comment */
    void main() { gl_Position = vec4(Centre + Corner, 1.0) * ViewProj; tint = Tint; }
}
glsl fragment Particle(vec4 Color : COLOR0, vec2 Velocity : COLOR1) {
    in vec4 tint;
    void main() { Color = tint * texture(DotSampler, vec2(0.5)); Velocity = vec2(0.0); }
}
glsl fragment DepthOnly() { void main() {} }
technique Particle {
    pass Colour { VertexShader = Sprite; PixelShader = Particle; AlphaBlendEnable = TRUE; SrcBlend = SRCALPHA; DestBlend = INVSRCALPHA; BlendOp = ADD; ZWriteEnable = FALSE; ZFunc = LESSEQUAL; }
    pass Depth { VertexShader = Sprite; PixelShader = DepthOnly; ColorWriteEnable = 0; ColorWriteEnable1 = RED | GREEN; CullMode = CCW; }
}
