// The earlier code of the swarm's drops: quads a little wider than the discs they draw, and each
// drop's surface point worked out in world space for its depths.
#include "common.fxh"

glsl common {
    const float DropRadius = 0.3;

    vec3 DropSurface(vec3 centre, float radius, vec2 inDrop)
    {
        float lift = sqrt(max(1.0 - dot(inDrop, inDrop), 0.0));
        return centre + (inDrop.x * View[0].xyz + inDrop.y * View[1].xyz + lift * View[2].xyz) * radius;
    }

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

    // The quad reached a little beyond the drop, though only the disc inside it is drawn.
    const float QuadReach = 1.15;

    void main()
    {
        // Corner 0 (-h, h) holds the window's origin; the corners right of and below the centre
        // hold it moved by the window's 0.3. The origin seeds each drop's own size.
        vec2 windowStep = vec2(Corner.x > 0.0 ? 0.3 : 0.0, Corner.y < 0.0 ? 0.3 : 0.0);
        vec2 seed = clamp((Window - windowStep) / 0.7, 0.0, 1.0);
        radius = DropRadius * (0.85 + 0.3 * seed.x);
        centre = Centre;
        inDrop = sign(Corner.xy) * QuadReach;
        vec3 world = Centre + (inDrop.x * View[0].xyz + inDrop.y * View[1].xyz) * radius;
        gl_Position = vec4(world, 1.0) * ViewProj;

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

glsl fragment DropEverything(vec4 Color : COLOR0, vec4 Velocity : COLOR1, vec4 Depth : COLOR2) {
    in vec2 inDrop;
    flat in vec3 centre;
    flat in float radius;
    flat in vec3 albedo;
    flat in vec2 motion;

    void main()
    {
        if (dot(inDrop, inDrop) >= 1.0)
            discard;
        vec3 surface = DropSurface(centre, radius, inDrop);
        gl_FragDepth = BufferDepth(surface);
        Color = vec4(albedo, 1.0);
        Velocity = vec4(motion, 0.0, 0.0);
        Depth = vec4(-(vec4(surface, 1.0) * View).z);
    }
}
