// The object effect ("Default"), registered by the intro and the box scene: a technique for each
// kind of object drawn with it, in its mesh's material colours.
#include "common.fxh"

float4x4 World : LOCAL;
float4x4 WorldViewProj : LOCALVIEWPROJ;
float4 Diffuse : DIFFUSE = {1, 1, 1, 1};
float4 Ambient : AMBIENT = {0.1, 0.1, 0.1, 1};

float4x4 OldWorldViewProj : OLDLOCALVIEWPROJ;

// The box scene's room, drawn unlit into three targets at once for the deferred lights and the
// post-processing after them: its surface colour (render target 0), its linear depth in world
// units along the view axis (target 1) and its motion on screen since the camera of 1/60 s ago, in
// normalised device units (target 2). The room is the box mesh seen from outside with the sides
// facing the camera culled away, so that the camera looks through them into the box.
glsl vertex RoomVertex(vec3 Position : POSITION0, vec3 Normal : NORMAL0, vec2 Side : TEXCOORD0) {
    out vec3 objectPosition;
    flat out vec3 objectNormal;
    out vec2 onSide;
    out float viewDepth;
    out vec4 clipNow;
    out vec4 clipBefore;

    void main()
    {
        clipNow = vec4(Position, 1.0) * WorldViewProj;
        clipBefore = vec4(Position, 1.0) * OldWorldViewProj;
        gl_Position = clipNow;
        objectPosition = Position;
        objectNormal = Normal;
        onSide = Side;
        viewDepth = -(vec4(Position, 1.0) * World * View).z;
    }
}

glsl fragment RoomSurface(vec4 Color : COLOR0, vec4 Depth : COLOR1, vec4 Velocity : COLOR2) {
    in vec3 objectPosition;
    flat in vec3 objectNormal;
    in vec2 onSide;
    in float viewDepth;
    in vec4 clipNow;
    in vec4 clipBefore;

    // Each side of the box is tiled with square panels, the whole texture of a side holding
    // PanelsPerSide of them a row.
    const float PanelsPerSide = 6.0;

    float PanelHash(vec3 p)
    {
        return fract(sin(dot(p, vec3(12.9898, 78.233, 37.719))) * 43758.5453);
    }

    void main()
    {
        vec2 panels = onSide * PanelsPerSide;
        vec2 panel = floor(panels);
        // The seams: dark grooves between the panels, kept a pixel or so wide at any distance.
        vec2 fromSeam = abs(fract(panels + 0.5) - 0.5);
        vec2 seamWidth = max(fwidth(panels) * 0.75, vec2(0.012));
        vec2 onPanel = smoothstep(seamWidth, seamWidth * 2.0, fromSeam);
        float seam = 1.0 - min(onPanel.x, onPanel.y);

        // The floor (the side whose outward normal points down) is darker than the walls, each
        // panel a little lighter or darker than the next, and weathered by the noise volume.
        float floorSide = step(0.5, -objectNormal.y);
        vec3 wall = vec3(0.80, 0.81, 0.84);
        vec3 ground = vec3(0.52, 0.50, 0.49);
        vec3 base = mix(wall, ground, floorSide) * Diffuse.rgb;
        float shade = 0.9 + 0.2 * PanelHash(vec3(panel, dot(objectNormal, vec3(1.0, 2.0, 3.0))));
        float grime = 0.92 + 0.08 * SignedNoise(objectPosition * 0.11);
        vec3 albedo = mix(base * shade * grime, vec3(0.16, 0.16, 0.18), seam);
        Color = vec4(albedo, 1.0);

        Depth = vec4(viewDepth);

        // The room stands still: what moves on screen is the camera.
        vec2 before = clipBefore.w > 1e-3 ? clipBefore.xy / clipBefore.w : clipNow.xy / clipNow.w;
        Velocity = vec4(clipNow.xy / clipNow.w - before, 0.0, 0.0);
    }
}

technique Default {
    pass P0 {
        VertexShader = RoomVertex; PixelShader = RoomSurface;
        ZEnable = TRUE; ZFunc = LESSEQUAL; ZWriteEnable = TRUE;
        // The show's right-handed cameras see the outside of a face wound counter-clockwise.
        CullMode = CCW;
        AlphaBlendEnable = FALSE;
    }
}
