// Shared frame values, a sampler and a full-screen technique.
#include "common.fxh"
shared float3 EyePos : EYEPOS;
shared float2 FocusMaxZ : FOCUS_MAXZ;
shared texture3D NoiseTex : NOISETEX;
sampler3D NoiseSampler = sampler_state { Texture = NoiseTex; Filter = LINEAR; Address = WRAP; };
glsl fragment ShowNoise(vec4 Color : COLOR0) {
    void main() { Color = texture(NoiseSampler, vec3(Time)) * Twice(FocusMaxZ.x); }
}
technique Default {
    pass P0 { VertexShader = FullScreen; PixelShader = ShowNoise; ZEnable = FALSE; CullMode = NONE; }
}
