// The object effect ("Default"), registered by the intro and the box scene: a technique for each
// kind of object drawn with it, in its mesh's material colours.
#include "common.fxh"

float4x4 World : LOCAL;
float4 Diffuse : DIFFUSE = {1, 1, 1, 1};
float4 Ambient : AMBIENT = {0.1, 0.1, 0.1, 1};

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
        // The room stands still: its place now and 1/60 s ago differ by the camera alone.
        vec4 world = vec4(Position, 1.0) * World;
        clipNow = world * ViewProj;
        clipBefore = world * OldViewProj;
        gl_Position = clipNow;
        objectPosition = Position;
        objectNormal = Normal;
        onSide = Side;
        viewDepth = -(world * View).z;
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

// The scroller scene's floor under its fourth cube ("Default_tex"): a plane in y = 0 that follows the
// cube, drawn from its texture coordinates alone, with no image. The material's ambient carries the
// cube's height above resting on the floor (0 resting, 1 a unit up, negative below the floor):
// resting, the cube casts a dark contact shadow the shape of its footprint, ringed by faint light
// that shows where the floor is; lifted, or coming up through the floor, it lets the shadow go and
// a glow gathers under it instead. Blended over the picture: the shadow darkens what is there, the
// light adds to it.
glsl vertex FloorVertex(vec3 Position : POSITION0, vec2 Uv : TEXCOORD0) {
    out vec2 fromCentre;

    void main()
    {
        gl_Position = vec4(Position, 1.0) * World * ViewProj;
        fromCentre = Uv * 2.0 - 1.0;
    }
}

glsl fragment FloorGlow(vec4 Color : COLOR0) {
    in vec2 fromCentre;

    // The cube's footprint on the plane: its half side, in the plane's [-1, 1] coordinates.
    const float Footprint = 0.4;

    void main()
    {
        float height = Ambient.r;
        // A rounded square around the footprint, and a round halo that fades out before the
        // plane's edge.
        float square = length(max(abs(fromCentre) - Footprint, 0.0));
        float radial = length(fromCentre);

        // The shadow only while the cube touches the floor, sharp when it rests on it.
        float touch = 1.0 - smoothstep(0.0, 0.45, abs(height));
        float shadow = (1.0 - smoothstep(0.0, 0.08 + 0.3 * (1.0 - touch), square)) * touch * 0.85;
        // The glow while it hovers up to a unit above the floor, and while it comes up from below
        // (the plane grows then, so the glow spreads from where the cube will appear).
        float hover = height > 0.0 ? smoothstep(0.05, 0.5, height) : smoothstep(-1.6, -0.5, height) * (1.0 - touch);
        float halo = (1.0 - smoothstep(0.0, 1.0, radial)) * hover;
        // Resting, a faint ring of light round the shadow shows where the floor is.
        float ring = smoothstep(0.03, 0.2, square) * (1.0 - smoothstep(0.15, 0.55, square)) * touch * 0.45;
        vec3 glow = vec3(0.5, 0.7, 1.0) * (halo + ring) * Diffuse.rgb;
        Color = vec4(glow, shadow * Diffuse.a);
    }
}

technique Default_tex {
    pass P0 {
        VertexShader = FloorVertex; PixelShader = FloorGlow;
        ZEnable = TRUE; ZFunc = LESSEQUAL; ZWriteEnable = FALSE; CullMode = NONE;
        AlphaBlendEnable = TRUE; SrcBlend = ONE; DestBlend = INVSRCALPHA; BlendOp = ADD;
    }
}
