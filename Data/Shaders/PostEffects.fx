// The post-processing chain's effect ("postfx"): every screen-space pass the scenes compose into
// their frames. All but the point lights draw the full-screen quad of common.fxh, whose normals
// carry the rays from the eye to the far plane where an operation writes them.
//
// What the passes expect of the targets the scenes render:
// - Linear depth (R32F, "Depth"): the distance in front of the camera along its view axis, in
//   world units; 100 where nothing was drawn.
// - Normal-depth (A32B32G32R32F, "NormalDepthMap", made by DepthToNormal): the view-space normal
//   in xyz (view space looks down -z, so a surface facing the camera has z > 0) and the linear
//   depth in w.
// - Velocity (G16R16F, "VelocityField1"): how far the picture moved at that pixel over the last
//   1/60 s, in normalised device units (x right, y up); 0 where nothing moved.
#include "common.fxh"

float2 RtDimPixelInv : RTDIMPIXELINV;   // (1 / width, -1 / height) of the target drawn into
float2 Tx1DimPixelInv : TX1DIMPIXELINV; // (1 / width, 1 / height) of ColTex1; the blurs' step
// The blurs' input: the part of ColTex1 from its top-left corner to here, in texture units.
float2 Tx1Region : TX1REGION = {1.0, 1.0};
// The occlusion's part of ColTex2 for its combine, likewise.
float2 Tx2Region : TX2REGION = {1.0, 1.0};
// The motion blur's velocity: the part of VecTex1 it fills (a corner, when blurred at half size).
float2 VecRegion : VECREGION = {1.0, 1.0};
float4 Value1 : VALUE1;

texture2D ColTex1 : COLTEX1;
texture2D ColTex2 : COLTEX2;
texture2D ColTex3 : COLTEX3;
texture2D ColTex4 : COLTEX4;
texture2D ColTex5 : COLTEX5;
texture2D VecTex1 : VECTEX1;
texture2D DepthTex : DEPTHTEX;

float3 SsaoKernel[16] : SSAOKERNEL;
float BufDimX : BUFDIMX;
float BufDimY : BUFDIMY;
float SampleRadius : SAMPLERADIUS;            // world units around the pixel that may occlude it
float OcclusionStrength : SAMPLEDISTANCESCALE; // 8 darkens fully where every probe is occluded
float4x4 ProjectionMatrix : PROJECTIONMATRIX;

float4x4 LocalWorld : LOCAL;
float3 UpDir : UPDIR;          // the world's up in view space
float3 DLightPos : DLIGHTPOS;  // view space
float3 DLightCol : DLIGHTCOL;
float DLightRad : DLIGHTRAD;
float3 FarClipValues : FARCLIPVALUES; // (half width, half height, distance) of the far plane
// Up to 12 lights added in one pass (an array takes 48 floats): view-space positions with the
// inverse radii in w, and colours; black in the places no light takes.
float4 DLightSpheres[12] : DLIGHTSPHERES;
float4 DLightColours[12] : DLIGHTCOLOURS;

// The targets these samplers read have one level each: with no mip filter the driver works out no
// level for a read.
sampler2D ColourSampler = sampler_state { Texture = ColTex1; Filter = LINEAR; Address = CLAMP; MipFilter = NONE; };
// Depths and normals are never blended across an edge: a mix of two surfaces is neither.
sampler2D ColourPointSampler = sampler_state { Texture = ColTex1; Filter = POINT; Address = CLAMP; MipFilter = NONE; };
sampler2D Colour2Sampler = sampler_state { Texture = ColTex2; Filter = LINEAR; Address = CLAMP; MipFilter = NONE; };
sampler2D Colour3Sampler = sampler_state { Texture = ColTex3; Filter = LINEAR; Address = CLAMP; MipFilter = NONE; };
sampler2D Colour4Sampler = sampler_state { Texture = ColTex4; Filter = LINEAR; Address = CLAMP; MipFilter = NONE; };
sampler2D Colour5Sampler = sampler_state { Texture = ColTex5; Filter = LINEAR; Address = CLAMP; MipFilter = NONE; };
// Linear, so that a velocity blurred at half size is read back smoothly; at full size every read
// lands on a texel's centre.
sampler2D VelocitySampler = sampler_state { Texture = VecTex1; Filter = LINEAR; Address = CLAMP; MipFilter = NONE; };
sampler2D DepthSampler = sampler_state { Texture = DepthTex; Filter = POINT; Address = CLAMP; MipFilter = NONE; };

// The title and closing cards (Data/cards, rendered by textcard from the facts of
// Data/invitation.txt): each the whole 16:9 picture, white, with the text in alpha. They are
// 2048 wide, so that no picture up to 1920x1080 magnifies them; smaller ones read the mips.
texture2D TitleCard : TEXTURE0 < string ResourceName = "TitleCard.png"; >;
texture2D ClosingCard : TEXTURE1 < string ResourceName = "ClosingCard.png"; >;
sampler2D TitleCardSampler = sampler_state { Texture = TitleCard; Filter = LINEAR; Address = CLAMP; };
sampler2D ClosingCardSampler = sampler_state { Texture = ClosingCard; Filter = LINEAR; Address = CLAMP; };

glsl common {
    // Nine texels of a Gaussian (sigma 2) in five linear reads, texel apart: each read off the
    // centre falls between two texels so that the filter weighs both. The input is the image's
    // part up to region, which no read leaves (the blurs at half size keep theirs in a corner of a
    // larger target); the address mode keeps them inside at the top and left. With no step
    // between them all five read one place, and the sum is that one read (the driver would run
    // both sides of a branch on a uniform, so there is none).
    vec4 GaussianAlong(sampler2D image, vec2 uv, vec2 texel, vec2 region)
    {
        vec2 at = uv * region;
        vec2 last = region - 0.5 / vec2(textureSize(image, 0));
        vec4 sum = texture(image, min(at, last)) * 0.2270270270;
        sum += (texture(image, min(at + texel * 1.3846153846, last)) + texture(image, min(at - texel * 1.3846153846, last))) *
               0.3162162162;
        sum += (texture(image, min(at + texel * 3.2307692308, last)) + texture(image, min(at - texel * 3.2307692308, last))) *
               0.0702702703;
        return sum;
    }

    // The view-space point a pixel of linear depth shows, from the ray to the far plane through
    // that pixel (whose z is the far plane's distance).
    vec3 ViewPosition(vec3 farRay, float depth)
    {
        return vec3(farRay.xy * (depth / farRay.z), -depth);
    }

    // 0 at the focus distance, growing to 1 a whole focus range (FocusMaxZ.y) away from it.
    float Blurriness(float depth)
    {
        return clamp(abs(depth - FocusMaxZ.x) / max(FocusMaxZ.y, 1e-4), 0.0, 1.0);
    }

    // Darkening towards the corners, 0 in the middle of the picture.
    float Vignette(vec2 uv)
    {
        return smoothstep(0.45, 0.85, length((uv - 0.5) * vec2(1.6, 1.2))) * 0.7;
    }
}

// The quad, with the view-space extent of the picture at depth 1 worked out from the shared
// camera matrices (ViewProj = View x projection), for passes that get no far-plane rays.
glsl vertex ViewScaledScreen(vec3 Position : POSITION0) {
    out vec2 uv;
    flat out vec2 viewScale;

    void main()
    {
        gl_Position = vec4(Position.xy, 0.0, 1.0);
        uv = Position.xy * vec2(0.5, -0.5) + 0.5;
        mat4 projection = inverse(View) * ViewProj;
        vec2 scale = abs(vec2(projection[0][0], projection[1][1]));
        // Before a camera has written the shared matrices they are zero: take a 90 degree view.
        bool usable = all(greaterThan(scale, vec2(1e-6))) && all(lessThan(scale, vec2(1e6)));
        viewScale = usable ? 1.0 / scale : vec2(1.0);
    }
}

// The light's sphere, placed by its world matrix and seen through the scene's shared camera.
glsl vertex LightVolume(vec3 Position : POSITION0) {
    void main()
    {
        gl_Position = vec4(Position, 1.0) * LocalWorld * ViewProj;
    }
}

glsl fragment Ramp(vec4 Color : COLOR0) {
    in vec2 uv;

    void main()
    {
        vec3 top = vec3(0.02, 0.03, 0.08);
        vec3 bottom = vec3(0.17, 0.11, 0.23);
        float shimmer = SignedNoise(vec3(uv * vec2(1.5, 0.8), Time * 0.03)) * 0.015;
        Color = vec4(mix(top, bottom, smoothstep(0.0, 1.0, uv.y)) + shimmer, 1.0);
    }
}

glsl fragment Fill(vec4 Color : COLOR0) {
    void main()
    {
        Color = Value1;
    }
}

glsl fragment Blit(vec4 Color : COLOR0) {
    in vec2 uv;

    void main()
    {
        Color = texture(ColourSampler, uv) * Value1;
    }
}

// The overlays draw over the letterboxed picture, whose uv is the card's. A card's text comes in
// lantern light over a dark halo, both as far as shown, over the overlay's darkening; with
// source-alpha blending that is one colour and one alpha. The halo is the card's alpha read two
// and a half mip levels coarser (so that its reach follows the picture's size) and strengthened,
// so that it closes round small text too and keeps it readable over bright particles.
glsl common {
    vec4 OverCard(sampler2D card, vec2 uv, float darkness, float shown)
    {
        float text = texture(card, uv).a * shown;
        float shadow = min(texture(card, uv, 2.5).a * 2.5, 1.0) * shown * 0.8;
        float behind = 1.0 - (1.0 - darkness) * (1.0 - shadow);
        float alpha = 1.0 - (1.0 - behind) * (1.0 - text);
        return vec4(vec3(1.0, 0.93, 0.8) * text / max(alpha, 1e-5), alpha);
    }
}

// Opens the show: the picture rises out of black over the first three seconds, framed darker.
// The title card comes in over half a bar from bar 2 (3.75 s) and has gone when the riser sets
// in (bar 6, 11.25 s).
glsl fragment OpeningOverlay(vec4 Color : COLOR0) {
    in vec2 uv;

    void main()
    {
        float dark = 1.0 - smoothstep(0.0, 3.0, Time);
        float shown = smoothstep(3.75, 4.6875, Time) * (1.0 - smoothstep(10.3125, 11.25, Time));
        Color = OverCard(TitleCardSampler, uv, max(Vignette(uv), dark), shown);
    }
}

// Closes the show: the frame closes in and the picture sinks into black over its last five
// seconds. The closing card comes with bar 66 (123.75 s), as the music starts to fade, and goes
// over the last chord's first bar (bar 70, 131.25-133.125 s), before the picture is black.
glsl fragment ClosingOverlay(vec4 Color : COLOR0) {
    in vec2 uv;

    void main()
    {
        float dark = smoothstep(130.0, 135.0, Time);
        float shown = smoothstep(123.75, 124.6875, Time) * (1.0 - smoothstep(131.25, 133.125, Time));
        Color = OverCard(ClosingCardSampler, uv, clamp(Vignette(uv) * (1.0 + dark) + dark, 0.0, 1.0), shown);
    }
}

glsl fragment MotionBlur(vec4 Color : COLOR0) {
    in vec2 uv;

    void main()
    {
        // Normalised device units to texture units, where y runs down.
        vec2 lastVelocity = VecRegion - 0.5 / vec2(textureSize(VelocitySampler, 0));
        vec2 motion = texture(VelocitySampler, min(uv * VecRegion, lastVelocity)).xy * vec2(0.5, -0.5);
        // Streaks longer than a twentieth of the picture smear it rather than show motion.
        motion *= min(1.0, 0.05 / max(length(motion), 1e-9));
        // Reads a texel or less apart along the streak, at most MostTaps; a pixel that moved less
        // than half a texel either way reads once. A loop rather than a branch: the driver may run
        // both sides of a branch, but it leaves a loop as soon as every pixel it shades at a time
        // is done.
        const int MostTaps = 9;
        bool still = all(lessThan(abs(motion), Tx1DimPixelInv * 0.5));
        int taps = still ? 1 : clamp(int(ceil(length(motion / Tx1DimPixelInv))) + 1, 2, MostTaps);
        vec2 first = still ? uv : uv + motion * 0.5;
        vec2 stride = still ? vec2(0.0) : motion / float(taps - 1);
        vec4 sum = vec4(0.0);
        for (int i = 0; i < taps; ++i)
            sum += texture(ColourSampler, first - stride * float(i));
        Color = sum / float(taps);
    }
}

glsl fragment DepthToNormal(vec4 Color : COLOR0) {
    in vec2 uv;
    flat in vec2 viewScale;

    vec3 PositionAt(vec2 at)
    {
        float depth = texture(ColourPointSampler, at).r;
        vec2 ndc = at * vec2(2.0, -2.0) + vec2(-1.0, 1.0);
        return vec3(ndc * viewScale * depth, -depth);
    }

    // Of the steps to the two neighbours on one axis, the one that stays on this surface: the
    // smaller change in depth. Beyond the picture's border there is no neighbour to step to.
    vec3 AlongSurface(vec3 centre, vec2 forwardAt, vec2 backwardAt)
    {
        vec3 forward = PositionAt(forwardAt) - centre;
        vec3 backward = centre - PositionAt(backwardAt);
        if (any(lessThan(forwardAt, vec2(0.0))) || any(greaterThan(forwardAt, vec2(1.0))))
            return backward;
        if (any(lessThan(backwardAt, vec2(0.0))) || any(greaterThan(backwardAt, vec2(1.0))))
            return forward;
        return abs(forward.z) < abs(backward.z) ? forward : backward;
    }

    void main()
    {
        vec3 centre = PositionAt(uv);
        vec2 texel = Tx1DimPixelInv;
        vec3 alongX = AlongSurface(centre, uv + vec2(texel.x, 0.0), uv - vec2(texel.x, 0.0));
        vec3 alongY = AlongSurface(centre, uv - vec2(0.0, texel.y), uv + vec2(0.0, texel.y));
        vec3 normal = cross(alongX, alongY);
        float size = length(normal);
        Color = vec4(size > 0.0 ? normal / size : vec3(0.0, 0.0, 1.0), -centre.z);
    }
}

glsl fragment AmbientOcclusion(vec4 Color : COLOR0) {
    in vec2 uv;
    in vec3 farRay;

    void main()
    {
        vec4 here = texture(ColourPointSampler, uv);
        vec3 normal = here.xyz;
        float depth = here.w;
        vec3 position = ViewPosition(farRay, depth);
        // One random turn of the kernel per pixel, so that sixteen probes look like many more
        // once the combine pass has smoothed the result.
        vec2 noiseSize = vec2(textureSize(NoiseVecSampler, 0));
        vec3 turn = texture(NoiseVecSampler, uv * vec2(BufDimX, BufDimY) / noiseSize).xyz;
        float reach = max(SampleRadius, 1e-5);

        float occlusion = 0.0;
        for (int i = 0; i < 16; ++i) {
            vec3 offset = reflect(SsaoKernel[i], turn);
            if (dot(offset, normal) < 0.0)
                offset = -offset;
            vec3 probe = position + offset * SampleRadius;
            vec4 clip = vec4(probe, 1.0) * ProjectionMatrix;
            vec2 probeUv = clip.xy / clip.w * vec2(0.5, -0.5) + 0.5;
            float shown = texture(ColourPointSampler, probeUv).w;
            // A probe behind what the picture shows there is inside something; a surface much
            // nearer than the radius is something in front, not next to this point.
            float hidden = step(reach * 0.05, -probe.z - shown);
            float close = reach / max(abs(depth - shown), reach);
            occlusion += hidden * close;
        }
        float light = clamp(1.0 - occlusion / 16.0 * OcclusionStrength * 0.125, 0.0, 1.0);
        Color = vec4(vec3(light), 1.0);
    }
}

glsl fragment AmbientOcclusionCombine(vec4 Color : COLOR0) {
    in vec2 uv;

    void main()
    {
        // A box of four by four pixels of the picture over the occlusion in four linear reads:
        // it smooths away the pattern of the per-pixel kernel turns. The occlusion fills the part
        // Tx2Region of its target (a corner, when drawn at half size, where each read spans fewer
        // texels of its own).
        vec2 texel = abs(RtDimPixelInv);
        vec2 last = Tx2Region - 0.5 / vec2(textureSize(Colour2Sampler, 0));
        float light = texture(Colour2Sampler, min((uv + texel * vec2(-1.5, -1.5)) * Tx2Region, last)).r;
        light += texture(Colour2Sampler, min((uv + texel * vec2(0.5, -1.5)) * Tx2Region, last)).r;
        light += texture(Colour2Sampler, min((uv + texel * vec2(-1.5, 0.5)) * Tx2Region, last)).r;
        light += texture(Colour2Sampler, min((uv + texel * vec2(0.5, 0.5)) * Tx2Region, last)).r;
        vec4 colour = texture(ColourSampler, uv);
        Color = vec4(colour.rgb * light * 0.25, colour.a);
    }
}

glsl fragment BlurH(vec4 Color : COLOR0) {
    in vec2 uv;

    void main()
    {
        Color = GaussianAlong(ColourSampler, uv, vec2(Tx1DimPixelInv.x, 0.0), Tx1Region);
    }
}

glsl fragment BlurV(vec4 Color : COLOR0) {
    in vec2 uv;

    void main()
    {
        Color = GaussianAlong(ColourSampler, uv, vec2(0.0, Tx1DimPixelInv.y), Tx1Region);
    }
}

// The depth-of-field blurs weigh every texel by how blurred it is meant to be, so that a sharp
// object in focus does not bleed a halo into the blurred background around it.
glsl common {
    // texel: the step between the kernel's texels in the input, whose part region holds the
    // picture (a corner, for the passes at half size); the depth is read at the picture's own size.
    vec4 DepthOfFieldAlong(vec2 uv, vec2 texel, vec2 region)
    {
        const float Weights[5] = float[5](0.2270270270, 0.1945945946, 0.1216216216, 0.0540540541, 0.0162162162);
        vec2 depthTexel = texel / region;
        float weight[9];
        for (int i = -4; i <= 4; ++i)
            weight[i + 4] = Weights[abs(i)] * (Blurriness(texture(DepthSampler, uv + depthTexel * float(i)).r) + 0.01);
        // Two neighbouring texels in one linear read, between them where their weights balance:
        // texels -4 and -3, -2 and -1, 1 and 2, 3 and 4 beside the centre, five colour reads for nine.
        vec2 at = uv * region;
        vec2 last = region - 0.5 / vec2(textureSize(ColourSampler, 0));
        vec4 sum = texture(ColourSampler, min(at, last)) * weight[4];
        float total = weight[4];
        const int First[4] = int[4](0, 2, 5, 7);
        for (int pair = 0; pair < 4; ++pair) {
            float a = weight[First[pair]], b = weight[First[pair] + 1];
            sum += texture(ColourSampler, min(at + texel * (float(First[pair] - 4) + b / (a + b)), last)) * (a + b);
            total += a + b;
        }
        return sum / total;
    }
}

glsl fragment DepthOfFieldH(vec4 Color : COLOR0) {
    in vec2 uv;

    void main()
    {
        Color = DepthOfFieldAlong(uv, vec2(Tx1DimPixelInv.x, 0.0), Tx1Region);
    }
}

glsl fragment DepthOfFieldV(vec4 Color : COLOR0) {
    in vec2 uv;

    void main()
    {
        Color = DepthOfFieldAlong(uv, vec2(0.0, Tx1DimPixelInv.y), Tx1Region);
    }
}

// The sharp picture (ColTex2) where the depth is in focus, the blurred one (ColTex1) away from it.
glsl fragment DepthOfFieldCombine(vec4 Color : COLOR0) {
    in vec2 uv;

    void main()
    {
        vec4 sharp = texture(Colour2Sampler, uv);
        // The blurred picture fills the part Tx1Region of its target.
        vec2 last = Tx1Region - 0.5 / vec2(textureSize(ColourSampler, 0));
        vec4 blurred = texture(ColourSampler, min(uv * Tx1Region, last));
        float amount = Blurriness(texture(DepthSampler, uv).r);
        Color = vec4(mix(sharp.rgb, blurred.rgb, amount), sharp.a);
    }
}

glsl fragment DownSample(vec4 Color : COLOR0) {
    in vec2 uv;

    void main()
    {
        // The target texel's centre lies between four source texels of a source twice the size:
        // one linear read averages them. The level's blur of many rounds spreads far wider.
        Color = texture(ColourSampler, uv);
    }
}

// The four blurred levels' glow at the first level's size, for BloomFadeCombine: the first level
// read at its own texels, the smaller ones between theirs. Their mean, which an 8-bit target holds
// whole however bright each level is.
glsl fragment BloomGather(vec4 Color : COLOR0) {
    in vec2 uv;

    void main()
    {
        Color = vec4((texture(Colour2Sampler, uv).rgb + texture(Colour3Sampler, uv).rgb +
                      texture(Colour4Sampler, uv).rgb + texture(Colour5Sampler, uv).rgb) * 0.25, 1.0);
    }
}

// Value1 = (fade + 1, fade, fade squared, 0): the picture brightened, the glow of the four blurred
// levels (their mean, gathered in ColTex2) added and the whole lifted towards white, all by the
// fade; fade 0 gives the picture back.
glsl fragment BloomFadeCombine(vec4 Color : COLOR0) {
    in vec2 uv;

    void main()
    {
        vec3 picture = texture(ColourSampler, uv).rgb;
        // Each level keeps the picture's brightness; half their sum glows twice as bright.
        vec3 glow = texture(Colour2Sampler, uv).rgb * 2.0;
        Color = vec4(picture * Value1.x + glow * Value1.y + vec3(Value1.z), 1.0);
    }
}

// One point light added to the pixels its sphere covers: the surface is read back from the
// normal-depth map (ColTex1) and its colour from the scene's colour target (ColTex3).
glsl fragment PointLight(vec4 Color : COLOR0) {
    void main()
    {
        vec2 uv = gl_FragCoord.xy * abs(RtDimPixelInv);
        vec4 surface = texture(ColourPointSampler, uv);
        vec3 farRay = vec3((uv.x * 2.0 - 1.0) * FarClipValues.x, (1.0 - uv.y * 2.0) * FarClipValues.y, FarClipValues.z);
        vec3 toLight = DLightPos - ViewPosition(farRay, surface.w);
        float gap = length(toLight);
        if (gap >= DLightRad)
            discard;
        float falloff = 1.0 - gap / DLightRad;
        falloff *= falloff;
        vec3 normal = surface.xyz;
        float diffuse = max(dot(normal, toLight / max(gap, 1e-5)), 0.0);
        // A little of the light as if bounced off the floor, more on surfaces that face up.
        float bounce = 0.05 * (1.0 + dot(normal, UpDir));
        vec3 albedo = texture(Colour3Sampler, uv).rgb;
        Color = vec4(albedo * DLightCol * falloff * (diffuse + bounce), 0.0);
    }
}

// Several point lights added to every pixel in one pass: the surface and its colour read once, and
// each light adds what PointLight adds for it (nothing from its radius on).
glsl fragment PointLights(vec4 Color : COLOR0) {
    void main()
    {
        vec2 uv = gl_FragCoord.xy * abs(RtDimPixelInv);
        vec4 surface = texture(ColourPointSampler, uv);
        vec3 farRay = vec3((uv.x * 2.0 - 1.0) * FarClipValues.x, (1.0 - uv.y * 2.0) * FarClipValues.y, FarClipValues.z);
        vec3 position = ViewPosition(farRay, surface.w);
        vec3 normal = surface.xyz;
        float bounce = 0.05 * (1.0 + dot(normal, UpDir));
        vec3 light = vec3(0.0);
        // A fixed count, so that the loop unrolls and each light's values are read directly
        // rather than gathered pixel by pixel; the unused places hold lights that add nothing.
        for (int i = 0; i < 12; ++i) {
            vec3 toLight = DLightSpheres[i].xyz - position;
            float inverseGap = inversesqrt(max(dot(toLight, toLight), 1e-10));
            float gap = dot(toLight, toLight) * inverseGap;
            float falloff = max(1.0 - gap * DLightSpheres[i].w, 0.0);
            falloff *= falloff;
            float diffuse = max(dot(normal, toLight) * min(inverseGap, 1e5), 0.0);
            light += DLightColours[i].rgb * falloff * (diffuse + bounce);
        }
        Color = vec4(texture(Colour3Sampler, uv).rgb * light, 0.0);
    }
}

technique ramp {
    pass P0 { VertexShader = FullScreen; PixelShader = Ramp; ZEnable = FALSE; ZWriteEnable = FALSE; CullMode = NONE; AlphaBlendEnable = FALSE; }
}

technique FillQuad {
    pass P0 { VertexShader = FullScreen; PixelShader = Fill; ZEnable = FALSE; ZWriteEnable = FALSE; CullMode = NONE; AlphaBlendEnable = FALSE; }
}

technique BlitQuad {
    pass P0 { VertexShader = FullScreen; PixelShader = Blit; ZEnable = FALSE; ZWriteEnable = FALSE; CullMode = NONE; AlphaBlendEnable = FALSE; }
}

technique Overlay0 {
    pass P0 {
        VertexShader = FullScreen; PixelShader = OpeningOverlay; ZEnable = FALSE; ZWriteEnable = FALSE; CullMode = NONE;
        AlphaBlendEnable = TRUE; SrcBlend = SRCALPHA; DestBlend = INVSRCALPHA; BlendOp = ADD;
    }
}

technique Overlay1 {
    pass P0 {
        VertexShader = FullScreen; PixelShader = ClosingOverlay; ZEnable = FALSE; ZWriteEnable = FALSE; CullMode = NONE;
        AlphaBlendEnable = TRUE; SrcBlend = SRCALPHA; DestBlend = INVSRCALPHA; BlendOp = ADD;
    }
}

technique MotionBlur {
    pass P0 { VertexShader = FullScreen; PixelShader = MotionBlur; ZEnable = FALSE; ZWriteEnable = FALSE; CullMode = NONE; AlphaBlendEnable = FALSE; }
}

technique DepthToNormal {
    pass P0 { VertexShader = ViewScaledScreen; PixelShader = DepthToNormal; ZEnable = FALSE; ZWriteEnable = FALSE; CullMode = NONE; AlphaBlendEnable = FALSE; }
}

technique AmbientOcclusion {
    pass P0 { VertexShader = FullScreen; PixelShader = AmbientOcclusion; ZEnable = FALSE; ZWriteEnable = FALSE; CullMode = NONE; AlphaBlendEnable = FALSE; }
}

technique AmbientOcclusionCombine {
    pass P0 { VertexShader = FullScreen; PixelShader = AmbientOcclusionCombine; ZEnable = FALSE; ZWriteEnable = FALSE; CullMode = NONE; AlphaBlendEnable = FALSE; }
}

technique BlurH {
    pass P0 { VertexShader = FullScreen; PixelShader = BlurH; ZEnable = FALSE; ZWriteEnable = FALSE; CullMode = NONE; AlphaBlendEnable = FALSE; }
}

technique BlurV {
    pass P0 { VertexShader = FullScreen; PixelShader = BlurV; ZEnable = FALSE; ZWriteEnable = FALSE; CullMode = NONE; AlphaBlendEnable = FALSE; }
}

technique DOF_blurH {
    pass P0 { VertexShader = FullScreen; PixelShader = DepthOfFieldH; ZEnable = FALSE; ZWriteEnable = FALSE; CullMode = NONE; AlphaBlendEnable = FALSE; }
}

technique DOF_blurV {
    pass P0 { VertexShader = FullScreen; PixelShader = DepthOfFieldV; ZEnable = FALSE; ZWriteEnable = FALSE; CullMode = NONE; AlphaBlendEnable = FALSE; }
}

technique DofQuad {
    pass P0 { VertexShader = FullScreen; PixelShader = DepthOfFieldCombine; ZEnable = FALSE; ZWriteEnable = FALSE; CullMode = NONE; AlphaBlendEnable = FALSE; }
}

technique DownSample {
    pass P0 { VertexShader = FullScreen; PixelShader = DownSample; ZEnable = FALSE; ZWriteEnable = FALSE; CullMode = NONE; AlphaBlendEnable = FALSE; }
}

technique BloomGather {
    pass P0 { VertexShader = FullScreen; PixelShader = BloomGather; ZEnable = FALSE; ZWriteEnable = FALSE; CullMode = NONE; AlphaBlendEnable = FALSE; }
}

technique BloomFadeCombine {
    pass P0 { VertexShader = FullScreen; PixelShader = BloomFadeCombine; ZEnable = FALSE; ZWriteEnable = FALSE; CullMode = NONE; AlphaBlendEnable = FALSE; }
}

// The sphere's outside faces, which the show's right-handed cameras see wound counter-clockwise;
// hidden where the scene's depth is nearer than the sphere.
technique Def_PointLight {
    pass P0 {
        VertexShader = LightVolume; PixelShader = PointLight; ZEnable = TRUE; ZFunc = LESSEQUAL; ZWriteEnable = FALSE;
        CullMode = CW; AlphaBlendEnable = TRUE; SrcBlend = ONE; DestBlend = ONE; BlendOp = ADD;
    }
}

// For a sphere that reaches the near plane (or around the camera): its inside faces, which the
// near plane does not cut away, without the depth test.
technique Def_PointLightBackside {
    pass P0 {
        VertexShader = LightVolume; PixelShader = PointLight; ZEnable = FALSE; ZWriteEnable = FALSE;
        CullMode = CCW; AlphaBlendEnable = TRUE; SrcBlend = ONE; DestBlend = ONE; BlendOp = ADD;
    }
}

// Lights added over the whole picture, to what is there.
technique Def_PointLights {
    pass P0 {
        VertexShader = FullScreen; PixelShader = PointLights; ZEnable = FALSE; ZWriteEnable = FALSE; CullMode = NONE;
        AlphaBlendEnable = TRUE; SrcBlend = ONE; DestBlend = ONE; BlendOp = ADD;
    }
}
