// The earlier code of the post-processing passes that were made cheaper, kept so that tests and
// benchmarks can render the same frames with it and with the show's Data/Shaders/PostEffects.fx
// (Support/EffectsBefore.h puts these blocks in place of the show's blocks of the same
// names). The declarations are the show's, as far as these blocks read them.
#include "common.fxh"

float2 RtDimPixelInv : RTDIMPIXELINV;
float2 Tx1DimPixelInv : TX1DIMPIXELINV;

texture2D ColTex1 : COLTEX1;
texture2D ColTex2 : COLTEX2;
texture2D ColTex3 : COLTEX3;
texture2D ColTex4 : COLTEX4;
texture2D ColTex5 : COLTEX5;
texture2D VecTex1 : VECTEX1;
texture2D DepthTex : DEPTHTEX;

// The samplers when they had the mip filter their filter implies.
sampler2D ColourSampler = sampler_state { Texture = ColTex1; Filter = LINEAR; Address = CLAMP; };
sampler2D ColourPointSampler = sampler_state { Texture = ColTex1; Filter = POINT; Address = CLAMP; };
sampler2D Colour2Sampler = sampler_state { Texture = ColTex2; Filter = LINEAR; Address = CLAMP; };
sampler2D Colour3Sampler = sampler_state { Texture = ColTex3; Filter = LINEAR; Address = CLAMP; };
sampler2D Colour4Sampler = sampler_state { Texture = ColTex4; Filter = LINEAR; Address = CLAMP; };
sampler2D Colour5Sampler = sampler_state { Texture = ColTex5; Filter = LINEAR; Address = CLAMP; };
sampler2D VelocitySampler = sampler_state { Texture = VecTex1; Filter = POINT; Address = CLAMP; };
sampler2D DepthSampler = sampler_state { Texture = DepthTex; Filter = POINT; Address = CLAMP; };

glsl common {
    // 0 at the focus distance, growing to 1 a whole focus range (FocusMaxZ.y) away from it.
    float Blurriness(float depth)
    {
        return clamp(abs(depth - FocusMaxZ.x) / max(FocusMaxZ.y, 1e-4), 0.0, 1.0);
    }

    // Nine colour reads and nine depth reads a pixel.
    vec4 DepthOfFieldAlong(vec2 uv, vec2 texel)
    {
        const float Weights[5] = float[5](0.2270270270, 0.1945945946, 0.1216216216, 0.0540540541, 0.0162162162);
        vec4 sum = vec4(0.0);
        float total = 0.0;
        for (int i = -4; i <= 4; ++i) {
            vec2 at = uv + texel * float(i);
            float weight = Weights[abs(i)] * (Blurriness(texture(DepthSampler, at).r) + 0.01);
            sum += texture(ColourSampler, at) * weight;
            total += weight;
        }
        return sum / total;
    }
}

glsl fragment DepthOfFieldH(vec4 Color : COLOR0) {
    in vec2 uv;

    void main()
    {
        Color = DepthOfFieldAlong(uv, vec2(Tx1DimPixelInv.x, 0.0));
    }
}

glsl fragment DepthOfFieldV(vec4 Color : COLOR0) {
    in vec2 uv;

    void main()
    {
        Color = DepthOfFieldAlong(uv, vec2(0.0, Tx1DimPixelInv.y));
    }
}

// The blurs before they could read a part of their input.
glsl fragment BlurH(vec4 Color : COLOR0) {
    in vec2 uv;

    vec4 GaussianAlong(sampler2D image, vec2 uv, vec2 texel)
    {
        vec4 sum = texture(image, uv) * 0.2270270270;
        sum += (texture(image, uv + texel * 1.3846153846) + texture(image, uv - texel * 1.3846153846)) * 0.3162162162;
        sum += (texture(image, uv + texel * 3.2307692308) + texture(image, uv - texel * 3.2307692308)) * 0.0702702703;
        return sum;
    }

    void main()
    {
        Color = GaussianAlong(ColourSampler, uv, vec2(Tx1DimPixelInv.x, 0.0));
    }
}

glsl fragment BlurV(vec4 Color : COLOR0) {
    in vec2 uv;

    vec4 GaussianAlong(sampler2D image, vec2 uv, vec2 texel)
    {
        vec4 sum = texture(image, uv) * 0.2270270270;
        sum += (texture(image, uv + texel * 1.3846153846) + texture(image, uv - texel * 1.3846153846)) * 0.3162162162;
        sum += (texture(image, uv + texel * 3.2307692308) + texture(image, uv - texel * 3.2307692308)) * 0.0702702703;
        return sum;
    }

    void main()
    {
        Color = GaussianAlong(ColourSampler, uv, vec2(0.0, Tx1DimPixelInv.y));
    }
}

// The motion blur when a still pixel took its one read in a branch.
glsl fragment MotionBlur(vec4 Color : COLOR0) {
    in vec2 uv;

    void main()
    {
        // Normalised device units to texture units, where y runs down.
        vec2 motion = texture(VelocitySampler, uv).xy * vec2(0.5, -0.5);
        if (all(lessThan(abs(motion), Tx1DimPixelInv * 0.5))) {
            Color = texture(ColourSampler, uv);
            return;
        }
        // Streaks longer than a twentieth of the picture smear it rather than show motion.
        float reach = length(motion);
        motion *= min(1.0, 0.05 / reach);
        const int Taps = 9;
        vec4 sum = vec4(0.0);
        for (int i = 0; i < Taps; ++i)
            sum += texture(ColourSampler, uv - motion * (float(i) / float(Taps - 1) - 0.5));
        Color = sum / float(Taps);
    }
}

// The bloom levels' downsample when it averaged 4 x 4 source texels in four reads.
glsl fragment DownSample(vec4 Color : COLOR0) {
    in vec2 uv;

    void main()
    {
        // Half a target texel off the centre lies between two source texels of a source twice
        // the size: four reads average the 4 x 4 source texels around the target texel.
        vec2 apart = abs(RtDimPixelInv) * 0.5;
        Color = (texture(ColourSampler, uv + vec2(-apart.x, -apart.y)) + texture(ColourSampler, uv + vec2(apart.x, -apart.y)) +
                 texture(ColourSampler, uv + vec2(-apart.x, apart.y)) + texture(ColourSampler, uv + vec2(apart.x, apart.y))) * 0.25;
    }
}

// The bloom's full-size pass when it read the four levels itself (Value1 as the show declares it).
float4 Value1 : VALUE1;

glsl fragment BloomFadeCombine(vec4 Color : COLOR0) {
    in vec2 uv;

    void main()
    {
        vec3 picture = texture(ColourSampler, uv).rgb;
        vec3 glow = (texture(Colour2Sampler, uv).rgb + texture(Colour3Sampler, uv).rgb +
                     texture(Colour4Sampler, uv).rgb + texture(Colour5Sampler, uv).rgb) * 0.5;
        Color = vec4(picture * Value1.x + glow * Value1.y + vec3(Value1.z), 1.0);
    }
}

// The occlusion's combine when the occlusion filled its whole target.
glsl fragment AmbientOcclusionCombine(vec4 Color : COLOR0) {
    in vec2 uv;

    void main()
    {
        vec2 texel = abs(RtDimPixelInv);
        float light = texture(Colour2Sampler, uv + texel * vec2(-1.5, -1.5)).r;
        light += texture(Colour2Sampler, uv + texel * vec2(0.5, -1.5)).r;
        light += texture(Colour2Sampler, uv + texel * vec2(-1.5, 0.5)).r;
        light += texture(Colour2Sampler, uv + texel * vec2(0.5, 0.5)).r;
        vec4 colour = texture(ColourSampler, uv);
        Color = vec4(colour.rgb * light * 0.25, colour.a);
    }
}
