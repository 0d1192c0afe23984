// The earlier code of the particles' passes that were made cheaper (see PostEffectsBefore.fx).
#include "common.fxh"

float TrailFade : TRAILFADE = 0;

// The trails' fade when it spread over the whole target even with nothing to fade.
glsl vertex TrailFadeQuad(vec3 Corner : NORMAL0) {
    void main()
    {
        gl_Position = gl_VertexID < 4 ? vec4(sign(Corner.xy), 0.0, 1.0) : vec4(2.0, 2.0, 0.0, 1.0);
    }
}

// The specks when their sprites were drawn whole, to the edge of the halo.
glsl common {
    const float SpeckScale = 1.15;
    const float SpeckGlow = 0.45;

    vec2 SpeckSeed(vec3 Corner, vec2 Window)
    {
        vec2 windowStep = vec2(Corner.x > 0.0 ? 0.3 : 0.0, Corner.y < 0.0 ? 0.3 : 0.0);
        return clamp((Window - windowStep) / 0.7, 0.0, 1.0);
    }

    float SpeckSize(vec2 seed)
    {
        return SpeckScale * (0.6 + 0.8 * seed.x);
    }
}

glsl vertex SpeckCorner(vec3 Centre : POSITION0, vec3 Corner : NORMAL0, vec4 Tint : COLOR0, vec2 Window : TEXCOORD0,
                  vec3 PreviousCentre : POSITION1) {
    out vec2 inSpeck;
    flat out vec3 glow;
    flat out vec2 motion;

    void main()
    {
        vec2 seed = SpeckSeed(Corner, Window);
        float size = SpeckSize(seed);
        vec3 world = Centre + (Corner.x * View[0].xyz + Corner.y * View[1].xyz) * size;
        gl_Position = vec4(world, 1.0) * ViewProj;
        inSpeck = sign(Corner.xy);

        float twinkle = 0.75 + 0.25 * sin(Time * (2.0 + 5.0 * seed.y) + seed.x * 40.0);
        glow = Tint.rgb * SpeckGlow * (0.5 + 0.5 * seed.y) * twinkle;

        vec4 now = vec4(Centre, 1.0) * ViewProj;
        vec4 before = vec4(PreviousCentre, 1.0) * OldViewProj;
        motion = (now.w > 1e-3 && before.w > 1e-3) ? now.xy / now.w - before.xy / before.w : vec2(0.0);
    }
}

// The environment's specks when their sprites were drawn whole.
float4x4 CubeFaceViewProj : MATORTH;

glsl vertex EnvSpeckCorner(vec3 Centre : POSITION0, vec3 Corner : NORMAL0, vec4 Tint : COLOR0, vec2 Window : TEXCOORD0) {
    out vec2 inSpeck;
    flat out vec3 glow;

    void main()
    {
        vec2 seed = SpeckSeed(Corner, Window);
        vec3 right = normalize(CubeFaceViewProj[0].xyz);
        vec3 up = normalize(CubeFaceViewProj[1].xyz);
        vec3 world = Centre + (Corner.x * right + Corner.y * up) * SpeckSize(seed);
        gl_Position = vec4(world, 1.0) * CubeFaceViewProj;
        inSpeck = sign(Corner.xy);
        // A speck right at the cube's centre would cover a whole face: those within a unit fade.
        float distance = (vec4(Centre, 1.0) * CubeFaceViewProj).w;
        glow = Tint.rgb * (0.3 + 0.3 * seed.y) * smoothstep(0.3, 1.2, distance);
    }
}

// What the steel read: the cube, the lights and their earlier walk, as the show declares them.
// What the faces of the environment cube hold: white, and the specks as ink on it.
textureCUBE Environment : CUBETX;
samplerCUBE EnvironmentSampler = sampler_state {
    Texture = Environment; MinFilter = LINEAR; MagFilter = LINEAR; MipFilter = NONE; Address = CLAMP;
};

// The five point lights that orbit the scene, in world space.
float3 Light1 : light1;
float3 Light2 : light2;
float3 Light3 : light3;
float3 Light4 : light4;
float3 Light5 : light5;

glsl common {
    // The lights' colours, in the order of their semantics.
    const vec3 LightColours[5] = vec3[5](vec3(1.0, 0.86, 0.70), vec3(0.55, 0.72, 1.0), vec3(0.95, 0.95, 1.0),
                                         vec3(1.0, 0.42, 0.72), vec3(1.0, 0.56, 0.22));

    // What the five lights give a surface point p with unit normal n seen from the unit direction
    // toEye: diffuse and a specular highlight of the given sharpness.
    void LightsAt(vec3 p, vec3 n, vec3 toEye, float sharpness, out vec3 diffuse, out vec3 specular)
    {
        vec3 positions[5] = vec3[5](Light1, Light2, Light3, Light4, Light5);
        diffuse = vec3(0.0);
        specular = vec3(0.0);
        for (int i = 0; i < 5; ++i) {
            vec3 toLight = positions[i] - p;
            float distance2 = dot(toLight, toLight);
            vec3 l = toLight * inversesqrt(distance2);
            float reach = 1.0 / (1.0 + 0.015 * distance2);
            diffuse += LightColours[i] * max(dot(n, l), 0.0) * reach;
            vec3 halfway = normalize(l + toEye);
            specular += LightColours[i] * pow(max(dot(n, halfway), 0.0), sharpness) * reach;
        }
    }

    // The environment along a direction: a dim room, lit from above like a studio, and the
    // particles glowing in it. The cube's white faces hold the specks as ink, the complement of
    // their glow (see EnvSpeckShade), so the glow is what the ink took away from white.
    vec3 EnvironmentAlong(vec3 direction)
    {
        float up = direction.y;
        vec3 room = mix(vec3(0.03, 0.025, 0.05), vec3(0.24, 0.19, 0.33), smoothstep(-0.6, 0.05, up));
        room = mix(room, vec3(0.75, 0.74, 0.85), smoothstep(0.15, 0.9, up));
        vec3 glow = vec3(1.0) - texture(EnvironmentSampler, direction).rgb;
        return room + glow * 0.55;
    }
}

// The steel when it walked over the lights twice, once for each highlight.
glsl fragment MetalShade(vec4 Color : COLOR0) {
    in vec3 worldPosition;
    in vec3 worldNormal;
    in vec3 objectPosition;
    in vec3 objectNormal;

    void main()
    {
        vec3 n = normalize(worldNormal);
        vec3 toEye = normalize(EyePos - worldPosition);
        float facing = max(dot(n, toEye), 0.0);
        vec3 mirrored = EnvironmentAlong(reflect(-toEye, n));

        vec3 steel = vec3(0.55, 0.57, 0.62);
        vec3 fresnel = steel + (1.0 - steel) * pow(1.0 - facing, 5.0);
        vec3 diffuse, sharp, broad, unused;
        LightsAt(worldPosition, n, toEye, 160.0, diffuse, sharp);
        LightsAt(worldPosition, n, toEye, 12.0, unused, broad);
        vec3 colour = mirrored * fresnel + diffuse * steel * 0.08 + (sharp * 2.5 + broad * 0.18) * fresnel;
        Color = vec4(colour, 1.0);
    }
}

// The text's outer pieces when they were placed as the visible ones are, every fragment of them
// rasterised and then discarded.
float4x4 World : LOCAL;

glsl vertex UnseenCorner(vec3 Position : POSITION0) {
    void main()
    {
        gl_Position = vec4((vec4(Position, 1.0) * World).xyz, 1.0) * ViewProj;
    }
}

// The text's pieces when each was drawn whole, what lay off its face discarded fragment by fragment.
glsl vertex TextVertex(vec3 Position : POSITION0, vec3 Normal : NORMAL0) {
    out vec3 worldPosition;
    out vec3 worldNormal;
    out vec3 objectPosition;
    out vec3 objectNormal;

    void main()
    {
        worldPosition = (vec4(Position, 1.0) * World).xyz;
        gl_Position = vec4(worldPosition, 1.0) * ViewProj;
        worldNormal = (vec4(Normal, 0.0) * World).xyz;
        objectPosition = Position;
        objectNormal = Normal;
    }
}
