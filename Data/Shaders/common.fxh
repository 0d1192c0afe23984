// What every effect of the show includes: the per-frame values the scene writes on the Global
// effect, shared so that all effects of the pool see them, the noise textures that device setup
// binds the same way, and the full-screen quad's vertex block.

shared float4x4 OldViewProj : OLDVIEWPROJ; // the camera of 1/60 s earlier, for motion blur
shared float Time : TIME;
shared float4x4 View : VIEW;
shared float4x4 ViewProj : VIEWPROJ;
shared float3 EyePos : EYEPOS;
shared float2 FocusMaxZ : FOCUS_MAXZ; // (focus distance, focus range)
shared texture3D NoiseTex : NOISETEX;
shared texture2D NoiseVecTex : NOISEVECTEX;

sampler3D NoiseSampler = sampler_state { Texture = NoiseTex; Filter = LINEAR; Address = WRAP; };
sampler2D NoiseVecSampler = sampler_state { Texture = NoiseVecTex; Filter = POINT; Address = WRAP; };

glsl common {
    // The noise volume holds one value in [0, 1] per cell; this centres it on 0.
    float SignedNoise(vec3 p)
    {
        return texture(NoiseSampler, p).r * 2.0 - 1.0;
    }
}

// The full-screen quad: its positions are the clip-space corners, its normals the rays from the
// eye to the far plane (where an operation writes them). uv (0, 0) is the picture's top left.
glsl vertex FullScreen(vec3 Position : POSITION0, vec3 FarRay : NORMAL0) {
    out vec2 uv;
    out vec3 farRay;

    void main()
    {
        gl_Position = vec4(Position.xy, 0.0, 1.0);
        uv = Position.xy * vec2(0.5, -0.5) + 0.5;
        farRay = FarRay;
    }
}
