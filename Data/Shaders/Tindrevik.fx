// The part scenes' particles ("Tindrevik"): the particle field's sprites as soft glowing specks,
// added into the colour target (render target 0) while their motion on screen goes into the
// velocity target (render target 1) for the motion blur.
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
}

// How long the trails fade this frame, in sixtieths of a second: the intro and the end draw over
// last frame's picture instead of a background, so their specks leave trails that must die away,
// and the scene gives the frame's own duration so that trails last as long at any frame rate.
// 0 (the default) leaves the picture as it is.
float TrailFade : TRAILFADE = 0;

// The specks are shaped here rather than read from a texture, so the show needs no particle
// image: the corner of a sprite says where in the speck a fragment lies, and the sprite's texture
// window, the same random place for all four corners once the corner's own step is taken off, gives
// each particle its own size, brightness and twinkle.
glsl vertex SpeckCorner(vec3 Centre : POSITION0, vec3 Corner : NORMAL0, vec4 Tint : COLOR0, vec2 Window : TEXCOORD0,
                  vec3 PreviousCentre : POSITION1) {
    out vec2 inSpeck;
    flat out vec3 glow;
    flat out vec2 motion;

    void main()
    {
        // Corner 0 (-h, h) holds the window's origin; the corners right of and below the centre
        // hold it moved by the window's 0.3.
        vec2 windowStep = vec2(Corner.x > 0.0 ? 0.3 : 0.0, Corner.y < 0.0 ? 0.3 : 0.0);
        vec2 seed = clamp((Window - windowStep) / 0.7, 0.0, 1.0);

        // Expanded in the camera's plane: View's first two columns are the camera's right and up
        // axes in world space.
        float size = SpeckScale * (0.6 + 0.8 * seed.x);
        vec3 world = Centre + (Corner.x * View[0].xyz + Corner.y * View[1].xyz) * size;
        gl_Position = vec4(world, 1.0) * ViewProj;
        inSpeck = sign(Corner.xy);

        float twinkle = 0.75 + 0.25 * sin(Time * (2.0 + 5.0 * seed.y) + seed.x * 40.0);
        glow = Tint.rgb * SpeckGlow * (0.5 + 0.5 * seed.y) * twinkle;

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
        float r2 = dot(inSpeck, inSpeck);
        if (r2 >= 1.0)
            discard;
        // A bright core in a wide soft halo, both gone at the sprite's edge.
        float edge = 1.0 - r2;
        float shape = (exp(-r2 * 14.0) + 0.35 * exp(-r2 * 3.0)) * edge * edge;
        Color = vec4(glow * shape, shape);
        // Added up like the colour: where specks overlap their motions mix by how much each shows.
        float weight = min(shape, 1.0) * 0.6;
        Velocity = vec4(motion * weight, 0.0, weight);
    }
}

// Only the batch's first sprite (vertices 0 to 3) is drawn, spread over the whole target; every
// other sprite collapses to one point and draws nothing.
glsl vertex TrailFadeQuad(vec3 Corner : NORMAL0) {
    void main()
    {
        gl_Position = gl_VertexID < 4 ? vec4(sign(Corner.xy), 0.0, 1.0) : vec4(2.0, 2.0, 0.0, 1.0);
    }
}

glsl fragment TrailFadeShade(vec4 Color : COLOR0) {
    void main()
    {
        // The share of the picture that fades out in one sixtieth of a second.
        const float fadePerStep = 0.3;
        Color = vec4(0.0, 0.0, 0.0, 1.0 - pow(1.0 - fadePerStep, TrailFade));
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
    pass Specks {
        VertexShader = SpeckCorner; PixelShader = SpeckShade;
        ZEnable = FALSE; ZWriteEnable = FALSE; CullMode = NONE;
        AlphaBlendEnable = TRUE; SrcBlend = ONE; DestBlend = ONE; BlendOp = ADD;
        ColorWriteEnable = RED | GREEN | BLUE; ColorWriteEnable1 = RED | GREEN;
    }
}
