// The part scenes' particles ("Tindrevik"): the particle field's sprites as soft glowing specks,
// added into the colour target (render target 0) while their motion on screen goes into the
// velocity target (render target 1) for the motion blur. The scroller scene draws with it too:
// the specks once more into the faces of its environment cube ("EnvParticle"), its metal cubes
// ("Metal") and its folded text lines ("ScrollerShader" and the depth pass "ScrollerShaderZBuffer").
//
// What a sprite corner carries: the particle's centre (POSITION0), the corner's offset from it in
// the sprite's plane (NORMAL0, +-0.2 world units), the particle's colour (COLOR0), its texture
// window (TEXCOORD0: a 0.3 x 0.3 window at a random place of [0, 1]) and last frame's centre
// (POSITION1).
#include "common.fxh"

glsl common {
    // How much larger than its sprite a speck is drawn, and how brightly one speck glows.
    const float SpeckScale = 1.15;
    const float SpeckGlow = 0.45;
    // The share of a trail that fades out in one sixtieth of a second.
    const float TrailFadePerStep = 0.3;

    // The sprite's texture window, the same random place for all four corners once the corner's
    // own step is taken off: corner 0 (-h, h) holds the window's origin, the corners right of and
    // below the centre hold it moved by the window's 0.3. Gives each particle its own size,
    // brightness and twinkle.
    vec2 SpeckSeed(vec3 Corner, vec2 Window)
    {
        vec2 windowStep = vec2(Corner.x > 0.0 ? 0.3 : 0.0, Corner.y < 0.0 ? 0.3 : 0.0);
        return clamp((Window - windowStep) / 0.7, 0.0, 1.0);
    }

    float SpeckSize(vec2 seed)
    {
        return SpeckScale * (0.6 + 0.8 * seed.x);
    }

    // How far out along each axis of its sprite a speck is drawn, in the sprite's half size: the
    // halo beyond is below a level of 255 even for the brightest speck (SpeckShape under 0.009 at
    // full glow), and a sprite drawn this much smaller shades 4 in 10 fewer fragments.
    const float SpeckReach = 0.78;

    // A bright core in a wide soft halo, both gone at the sprite's edge (inSpeck: the fragment's
    // place in the sprite, the corners at (+-1, +-1)); negative outside the round speck, where the
    // fragment is to be discarded (vertex blocks see this code too, and they cannot discard).
    float SpeckShape(vec2 inSpeck)
    {
        float r2 = dot(inSpeck, inSpeck);
        if (r2 >= 1.0)
            return -1.0;
        float edge = 1.0 - r2;
        return (exp(-r2 * 14.0) + 0.35 * exp(-r2 * 3.0)) * edge * edge;
    }
}

// How long the trails fade this frame, in sixtieths of a second: the intro and the end draw over
// last frame's picture instead of a background, so their specks leave trails that must die away,
// and the scene gives the frame's own duration so that trails last as long at any frame rate.
// 0 (the default) leaves the picture as it is.
float TrailFade : TRAILFADE = 0;
// 1 when a jump starts the trails afresh (with the old picture faded out whole): each speck is
// drawn as the trail it leaves standing still, its glow added up over every step it has faded,
// which stands in for the frames before the jump's first. 0 (the default) draws the plain speck.
float TrailSeed : TRAILSEED = 0;

// The specks are shaped here rather than read from a texture, so the show needs no particle
// image: the corner of a sprite says where in the speck a fragment lies, and the sprite's texture
// window gives each particle its own size, brightness and twinkle (SpeckSeed).
glsl vertex SpeckCorner(vec3 Centre : POSITION0, vec3 Corner : NORMAL0, vec4 Tint : COLOR0, vec2 Window : TEXCOORD0,
                  vec3 PreviousCentre : POSITION1) {
    out vec2 inSpeck;
    flat out vec3 glow;
    flat out vec2 motion;

    void main()
    {
        vec2 seed = SpeckSeed(Corner, Window);

        // Expanded in the camera's plane: View's first two columns are the camera's right and up
        // axes in world space.
        float size = SpeckSize(seed) * SpeckReach;
        vec3 world = Centre + (Corner.x * View[0].xyz + Corner.y * View[1].xyz) * size;
        gl_Position = vec4(world, 1.0) * ViewProj;
        inSpeck = sign(Corner.xy) * SpeckReach;

        float twinkle = 0.75 + 0.25 * sin(Time * (2.0 + 5.0 * seed.y) + seed.x * 40.0);
        glow = Tint.rgb * SpeckGlow * (0.5 + 0.5 * seed.y) * twinkle;
        if (TrailSeed > 0.0)
            glow /= TrailFadePerStep;

        // The centre's move on screen over the last frame, in normalised device units; none for a
        // centre at or behind either camera.
        vec4 now = vec4(Centre, 1.0) * ViewProj;
        vec4 before = vec4(PreviousCentre, 1.0) * OldViewProj;
        motion = (now.w > 1e-3 && before.w > 1e-3) ? now.xy / now.w - before.xy / before.w : vec2(0.0);
    }
}

glsl fragment SpeckShade(vec4 Color : COLOR0, vec4 Velocity : COLOR1) {
    in vec2 inSpeck;
    flat in vec3 glow;
    flat in vec2 motion;

    void main()
    {
        float shape = SpeckShape(inSpeck);
        if (shape < 0.0)
            discard;
        Color = vec4(glow * shape, shape);
        // Added up like the colour: where specks overlap their motions mix by how much each shows.
        float weight = min(shape, 1.0) * 0.6;
        Velocity = vec4(motion * weight, 0.0, weight);
    }
}

// Only the batch's first sprite (vertices 0 to 3) is drawn, spread over the whole target; every
// other sprite collapses to one point and draws nothing. So does the first when there is nothing
// to fade, so that the picture is not blended over with no change.
glsl vertex TrailFadeQuad(vec3 Corner : NORMAL0) {
    void main()
    {
        bool spread = gl_VertexID < 4 && TrailFade > 0.0;
        gl_Position = spread ? vec4(sign(Corner.xy), 0.0, 1.0) : vec4(2.0, 2.0, 0.0, 1.0);
    }
}

glsl fragment TrailFadeShade(vec4 Color : COLOR0) {
    void main()
    {
        Color = vec4(0.0, 0.0, 0.0, 1.0 - pow(1.0 - TrailFadePerStep, TrailFade));
    }
}

technique Particle {
    // Last frame's trails fade a step towards black; the velocity target is left alone.
    pass FadeTrails {
        VertexShader = TrailFadeQuad; PixelShader = TrailFadeShade;
        ZEnable = FALSE; ZWriteEnable = FALSE; CullMode = NONE;
        AlphaBlendEnable = TRUE; SrcBlend = SRCALPHA; DestBlend = INVSRCALPHA; BlendOp = ADD;
        ColorWriteEnable = RED | GREEN | BLUE; ColorWriteEnable1 = 0;
    }
    // Tested against the depth of what stands in the picture (the scroller scene's cubes and text;
    // the part scenes clear it to the far plane and draw nothing else), written never.
    pass Specks {
        VertexShader = SpeckCorner; PixelShader = SpeckShade;
        ZEnable = TRUE; ZFunc = LESSEQUAL; ZWriteEnable = FALSE; CullMode = NONE;
        AlphaBlendEnable = TRUE; SrcBlend = ONE; DestBlend = ONE; BlendOp = ADD;
        ColorWriteEnable = RED | GREEN | BLUE; ColorWriteEnable1 = RED | GREEN;
    }
}

// ---- The scroller scene ----

float4x4 World : LOCAL;
float4 Diffuse : DIFFUSE = {1, 1, 1, 1};

// The view-projection of the environment cube's face being drawn, seen from the cube's centre.
float4x4 CubeFaceViewProj : MATORTH;

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

// The world-space x a piece of a text line keeps, as (lower, upper): the text folds around the
// edges of a box by being drawn four times, each piece turned about one more vertical edge, and
// each keeps only what lies on its own face.
float2 ScrollClip : SCROLLCLIP = {-1000, 1000};

// The environment cube: the specks as ink on its white faces. The cube's centre looks out in every
// direction, so each face expands its sprites in its own plane: the first two columns of the face's
// view-projection are its right and up axes scaled by the projection.
glsl vertex EnvSpeckCorner(vec3 Centre : POSITION0, vec3 Corner : NORMAL0, vec4 Tint : COLOR0, vec2 Window : TEXCOORD0) {
    out vec2 inSpeck;
    flat out vec3 glow;

    void main()
    {
        vec2 seed = SpeckSeed(Corner, Window);
        vec3 right = normalize(CubeFaceViewProj[0].xyz);
        vec3 up = normalize(CubeFaceViewProj[1].xyz);
        vec3 world = Centre + (Corner.x * right + Corner.y * up) * (SpeckSize(seed) * SpeckReach);
        gl_Position = vec4(world, 1.0) * CubeFaceViewProj;
        inSpeck = sign(Corner.xy) * SpeckReach;
        // A speck right at the cube's centre would cover a whole face: those within a unit fade.
        float distance = (vec4(Centre, 1.0) * CubeFaceViewProj).w;
        glow = Tint.rgb * (0.3 + 0.3 * seed.y) * smoothstep(0.3, 1.2, distance);
    }
}

glsl fragment EnvSpeckShade(vec4 Color : COLOR0) {
    in vec2 inSpeck;
    flat in vec3 glow;

    void main()
    {
        float shape = SpeckShape(inSpeck);
        if (shape < 0.0)
            discard;
        // Multiplied into the white face: the complement of the glow, so that white minus the face
        // gives back the glow, overlapping specks adding up as light does (up to white).
        Color = vec4(vec3(1.0) - glow * min(shape * 1.6, 1.0), 1.0);
    }
}

glsl common {
    // The lights' colours, in the order of their semantics.
    const vec3 LightColours[5] = vec3[5](vec3(1.0, 0.86, 0.70), vec3(0.55, 0.72, 1.0), vec3(0.95, 0.95, 1.0),
                                         vec3(1.0, 0.42, 0.72), vec3(1.0, 0.56, 0.22));

    // What light i gives a surface point p with unit normal n seen from the unit direction toEye:
    // its colour faded with distance, the diffuse share and how near n is to the halfway direction.
    void LightTerms(int i, vec3 p, vec3 n, vec3 toEye, out vec3 colour, out float lambert, out float towardsHalfway)
    {
        vec3 positions[5] = vec3[5](Light1, Light2, Light3, Light4, Light5);
        vec3 toLight = positions[i] - p;
        float distance2 = dot(toLight, toLight);
        vec3 l = toLight * inversesqrt(distance2);
        colour = LightColours[i] / (1.0 + 0.015 * distance2);
        lambert = max(dot(n, l), 0.0);
        towardsHalfway = max(dot(n, normalize(l + toEye)), 0.0);
    }

    // What the five lights give: diffuse and a specular highlight of the given sharpness.
    void LightsAt(vec3 p, vec3 n, vec3 toEye, float sharpness, out vec3 diffuse, out vec3 specular)
    {
        diffuse = vec3(0.0);
        specular = vec3(0.0);
        for (int i = 0; i < 5; ++i) {
            vec3 colour;
            float lambert, towardsHalfway;
            LightTerms(i, p, n, toEye, colour, lambert, towardsHalfway);
            diffuse += colour * lambert;
            specular += colour * pow(towardsHalfway, sharpness);
        }
    }

    // The same with two highlights of their own sharpness from one walk over the lights: the
    // steel's sharp glint and its broad sheen.
    void LightsWithTwoSheensAt(vec3 p, vec3 n, vec3 toEye, float sharpness, float broadness, out vec3 diffuse,
                               out vec3 sharp, out vec3 broad)
    {
        diffuse = vec3(0.0);
        sharp = vec3(0.0);
        broad = vec3(0.0);
        for (int i = 0; i < 5; ++i) {
            vec3 colour;
            float lambert, towardsHalfway;
            LightTerms(i, p, n, toEye, colour, lambert, towardsHalfway);
            diffuse += colour * lambert;
            sharp += colour * pow(towardsHalfway, sharpness);
            broad += colour * pow(towardsHalfway, broadness);
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

glsl vertex LitVertex(vec3 Position : POSITION0, vec3 Normal : NORMAL0) {
    out vec3 worldPosition;
    out vec3 worldNormal;
    out vec3 objectPosition;
    out vec3 objectNormal;

    void main()
    {
        // Through the world position and the frame's camera: the text's clip needs the world
        // position anyway.
        worldPosition = (vec4(Position, 1.0) * World).xyz;
        gl_Position = vec4(worldPosition, 1.0) * ViewProj;
        // The world matrices of the cubes and the text lines scale evenly, so they turn normals as
        // they turn points.
        worldNormal = (vec4(Normal, 0.0) * World).xyz;
        objectPosition = Position;
        objectNormal = Normal;
    }
}

// The text's pieces: LitVertex's outputs, with the piece's interval of x (ScrollClip) as two clip
// planes, so that what lies off its face of the fold box is cut away before it is rasterised.
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
        gl_ClipDistance[0] = worldPosition.x - ScrollClip.x;
        gl_ClipDistance[1] = ScrollClip.y - worldPosition.x;
    }
}

// Polished steel: it mirrors the environment cube, more towards grazing angles, and the five
// lights glint in it: a sharp highlight that runs along the rounded edges where the normal sweeps
// round, and a broad sheen on the flat sides.
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
        vec3 diffuse, sharp, broad;
        LightsWithTwoSheensAt(worldPosition, n, toEye, 160.0, 12.0, diffuse, sharp, broad);
        vec3 colour = mirrored * fresnel + diffuse * steel * 0.08 + (sharp * 2.5 + broad * 0.18) * fresnel;
        Color = vec4(colour, 1.0);
    }
}

// Only what lies on this piece's face of the fold box stays.
glsl common {
    bool OnFace(vec3 worldPosition)
    {
        return worldPosition.x > ScrollClip.x && worldPosition.x < ScrollClip.y;
    }
}

// The letters: a glowing enamel, warm white at the top of the capitals running to gold at the
// baseline, their extruded sides darker and lit by the lights so that they stand off the metal.
glsl fragment TextShade(vec4 Color : COLOR0) {
    in vec3 worldPosition;
    in vec3 worldNormal;
    in vec3 objectPosition;
    in vec3 objectNormal;

    // The capitals' height in the mesh.
    const float CapHeight = 0.22;

    void main()
    {
        if (!OnFace(worldPosition))
            discard;
        vec3 n = normalize(worldNormal);
        vec3 toEye = normalize(EyePos - worldPosition);
        float up = clamp(objectPosition.y / CapHeight, 0.0, 1.0);
        vec3 enamel = mix(vec3(1.0, 0.6, 0.16), vec3(1.0, 0.97, 0.82), up);
        vec3 diffuse, specular;
        LightsAt(worldPosition, n, toEye, 40.0, diffuse, specular);
        float front = smoothstep(0.5, 0.9, objectNormal.z);
        vec3 colour = enamel * mix(0.25 + 0.5 * diffuse, vec3(0.85) + 0.3 * diffuse, front) + specular * 0.5;
        Color = vec4(colour * Diffuse.rgb, 1.0);
    }
}

glsl fragment TextDepth() {
    in vec3 worldPosition;
    in vec3 worldNormal;
    in vec3 objectPosition;
    in vec3 objectNormal;

    void main()
    {
        if (!OnFace(worldPosition))
            discard;
    }
}

// The outer pieces of a line (the text still to come and the text gone by) lie off the box: they
// are kept out of the picture and out of the depth, so that nothing shows or hides behind them.
// Every corner goes to one point outside the picture, so that no fragment is rasterised only to
// be discarded.
glsl vertex UnseenCorner(vec3 Position : POSITION0) {
    void main()
    {
        gl_Position = vec4(2.0, 2.0, 0.0, 1.0);
    }
}

glsl fragment Unseen() {
    void main()
    {
        discard;
    }
}

technique EnvParticle {
    pass Specks {
        VertexShader = EnvSpeckCorner; PixelShader = EnvSpeckShade;
        ZEnable = FALSE; ZWriteEnable = FALSE; CullMode = NONE;
        AlphaBlendEnable = TRUE; SrcBlend = ZERO; DestBlend = SRCCOLOR; BlendOp = ADD;
        ColorWriteEnable = RED | GREEN | BLUE;
    }
}

technique Metal {
    pass P0 {
        VertexShader = LitVertex; PixelShader = MetalShade;
        ZEnable = TRUE; ZFunc = LESSEQUAL; ZWriteEnable = TRUE; CullMode = CW;
        AlphaBlendEnable = FALSE;
    }
}

technique ScrollerShader {
    pass P0 {
        VertexShader = TextVertex; PixelShader = TextShade;
        ZEnable = TRUE; ZFunc = LESSEQUAL; ZWriteEnable = TRUE; CullMode = CW;
        AlphaBlendEnable = FALSE;
    }
}

technique ScrollerShader_zcull {
    pass P0 {
        VertexShader = UnseenCorner; PixelShader = Unseen;
        ZEnable = TRUE; ZWriteEnable = FALSE; CullMode = NONE; ColorWriteEnable = 0;
        AlphaBlendEnable = FALSE;
    }
}

technique ScrollerShaderZBuffer {
    pass P0 {
        VertexShader = TextVertex; PixelShader = TextDepth;
        ZEnable = TRUE; ZFunc = LESSEQUAL; ZWriteEnable = TRUE; CullMode = CW; ColorWriteEnable = 0;
        AlphaBlendEnable = FALSE;
    }
}

technique ScrollerShaderZBuffer_zcull {
    pass P0 {
        VertexShader = UnseenCorner; PixelShader = Unseen;
        ZEnable = TRUE; ZWriteEnable = FALSE; CullMode = NONE; ColorWriteEnable = 0;
        AlphaBlendEnable = FALSE;
    }
}
