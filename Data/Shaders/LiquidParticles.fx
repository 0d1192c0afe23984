// The box scene's swarm ("liquid"): every particle of the particle dance drawn as a small sphere,
// so that the deferred lights, the ambient occlusion and the normals made from the depth see round
// drops which, once the scene has blurred their depth, run together like a liquid.
//
// "DropsEveryTarget" writes in one draw the drops' surface colour, unlit (render target 0), their
// motion on screen (render target 1) and their linear depth (render target 2: the distance along
// the view axis, in world units), and puts their front surfaces into the depth buffer: each pixel
// ends with the nearest drop's values in all three, as the depth test lets the nearest win.
// "ColorParticles" writes the colour and motion alone, and "ParticleParticles" draws the same drops
// again into the linear depth target alone (render target 0), where they lie in front of
// everything else drawn: the earlier way in two draws.
//
// What a sprite corner carries: the particle's centre (POSITION0), the corner's offset from it in
// the sprite's plane (NORMAL0, +-1.2), the particle's palette colour (COLOR0: white, blue or black
// and the shades between), its texture window (TEXCOORD0: a 0.3 x 0.3 window at a random place of
// [0, 1]) and last frame's centre (POSITION1).
#include "common.fxh"

glsl common {
    // The drops' radius in world units: as large as the distance at which the swarm pushes its
    // particles apart (0.3), so that neighbours sink deep into each other like one liquid.
    const float DropRadius = 0.3;

    // The point of the drop's surface that a fragment shows, in world space: its place in the
    // quad (in drop radii, from the centre) lifted towards the camera onto the sphere. View's
    // first three columns are the camera's right, up and backward axes in world space.
    vec3 DropSurface(vec3 centre, float radius, vec2 inDrop)
    {
        float lift = sqrt(max(1.0 - dot(inDrop, inDrop), 0.0));
        return centre + (inDrop.x * View[0].xyz + inDrop.y * View[1].xyz + lift * View[2].xyz) * radius;
    }

    // Depth buffer value of a world point: the drops write their own, so that the room behind
    // them and their neighbours cut into them as into spheres.
    float BufferDepth(vec3 world)
    {
        vec4 clip = vec4(world, 1.0) * ViewProj;
        return clip.z / clip.w;
    }
}

glsl vertex DropCorner(vec3 Centre : POSITION0, vec3 Corner : NORMAL0, vec4 Tint : COLOR0, vec2 Window : TEXCOORD0,
                       vec3 PreviousCentre : POSITION1) {
    out vec2 inDrop;
    flat out vec3 centre;
    flat out float radius;
    flat out vec3 albedo;
    flat out vec2 motion;
    // For DropEverything: the quad's point in clip space (exact, as clip space is linear in the
    // quad's plane), the clip-space step towards the camera by a whole radius, and the centre's
    // linear depth. A fragment lifts its point onto the sphere with them in a few products.
    out vec4 quadClip;
    flat out vec4 liftClip;
    flat out float centreDepth;

    void main()
    {
        // Corner 0 (-h, h) holds the window's origin; the corners right of and below the centre
        // hold it moved by the window's 0.3. The origin seeds each drop's own size.
        vec2 windowStep = vec2(Corner.x > 0.0 ? 0.3 : 0.0, Corner.y < 0.0 ? 0.3 : 0.0);
        vec2 seed = clamp((Window - windowStep) / 0.7, 0.0, 1.0);
        radius = DropRadius * (0.85 + 0.3 * seed.x);
        centre = Centre;
        // The quad just holds the drop's disc: the fragments draw that disc in the quad's plane,
        // so beyond it they would only be shaded to be discarded.
        inDrop = sign(Corner.xy);
        vec3 world = Centre + (inDrop.x * View[0].xyz + inDrop.y * View[1].xyz) * radius;
        gl_Position = vec4(world, 1.0) * ViewProj;
        quadClip = gl_Position;
        liftClip = vec4(View[2].xyz * radius, 0.0) * ViewProj;
        centreDepth = -(vec4(Centre, 1.0) * View).z;

        // The liquid's colour drifts through the swarm in slow swirls, so that neighbouring drops
        // share it; each drop's palette colour (white, blue, black and between) flecks it. The
        // palette's black would swallow every light: the darkest drops stay a deep ink.
        float swirl = SignedNoise(Centre * 0.12 + vec3(0.0, Time * 0.02, 0.0)) * 0.5 + 0.5;
        vec3 liquid = mix(vec3(0.2, 0.3, 0.8), vec3(0.92, 0.95, 1.0), smoothstep(0.35, 0.65, swirl));
        vec3 palette = mix(vec3(0.05, 0.06, 0.09), vec3(1.0), Tint.rgb);
        albedo = mix(liquid, palette, 0.3);

        // Half the centre's move on screen over the last frame, in normalised device units (a
        // shutter open half the frame, as a film camera's: the whole move smears a swarm that
        // gathers on a clap into one soft blob); none for a centre at or behind either camera.
        const float Shutter = 0.5;
        vec4 now = vec4(Centre, 1.0) * ViewProj;
        vec4 before = vec4(PreviousCentre, 1.0) * OldViewProj;
        motion = (now.w > 1e-3 && before.w > 1e-3) ? (now.xy / now.w - before.xy / before.w) * Shutter : vec2(0.0);
    }
}

glsl fragment DropColour(vec4 Color : COLOR0, vec4 Velocity : COLOR1) {
    in vec2 inDrop;
    flat in vec3 centre;
    flat in float radius;
    flat in vec3 albedo;
    flat in vec2 motion;

    void main()
    {
        if (dot(inDrop, inDrop) >= 1.0)
            discard;
        gl_FragDepth = BufferDepth(DropSurface(centre, radius, inDrop));
        Color = vec4(albedo, 1.0);
        Velocity = vec4(motion, 0.0, 0.0);
    }
}

glsl fragment DropDepth(vec4 Depth : COLOR0) {
    in vec2 inDrop;
    flat in vec3 centre;
    flat in float radius;

    void main()
    {
        if (dot(inDrop, inDrop) >= 1.0)
            discard;
        vec3 surface = DropSurface(centre, radius, inDrop);
        gl_FragDepth = BufferDepth(surface);
        Depth = vec4(-(vec4(surface, 1.0) * View).z);
    }
}

// What DropSurface and BufferDepth give, from the quad's point lifted towards the camera: the
// camera's axes are unit and at right angles, so the lift moves the linear depth by itself.
glsl fragment DropEverything(vec4 Color : COLOR0, vec4 Velocity : COLOR1, vec4 Depth : COLOR2) {
    in vec2 inDrop;
    flat in float radius;
    flat in vec3 albedo;
    flat in vec2 motion;
    in vec4 quadClip;
    flat in vec4 liftClip;
    flat in float centreDepth;

    void main()
    {
        float across = dot(inDrop, inDrop);
        if (across >= 1.0)
            discard;
        float lift = sqrt(1.0 - across);
        vec4 clip = quadClip + liftClip * lift;
        gl_FragDepth = clip.z / clip.w;
        Color = vec4(albedo, 1.0);
        Velocity = vec4(motion, 0.0, 0.0);
        Depth = vec4(centreDepth - lift * radius);
    }
}

technique DropsEveryTarget {
    pass P0 {
        VertexShader = DropCorner; PixelShader = DropEverything;
        ZEnable = TRUE; ZFunc = LESSEQUAL; ZWriteEnable = TRUE; CullMode = NONE;
        AlphaBlendEnable = FALSE;
    }
}

technique ColorParticles {
    pass P0 {
        VertexShader = DropCorner; PixelShader = DropColour;
        ZEnable = TRUE; ZFunc = LESSEQUAL; ZWriteEnable = TRUE; CullMode = NONE;
        AlphaBlendEnable = FALSE;
    }
}

// The depth buffer already holds the nearest drop of every pixel from "ColorParticles": the same
// drop computes the same depth and passes again, every other fragment fails.
technique ParticleParticles {
    pass P0 {
        VertexShader = DropCorner; PixelShader = DropDepth;
        ZEnable = TRUE; ZFunc = LESSEQUAL; ZWriteEnable = FALSE; CullMode = NONE;
        AlphaBlendEnable = FALSE;
    }
}
