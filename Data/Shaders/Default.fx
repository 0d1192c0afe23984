// The plain object effect ("Default"): a mesh in its material's colours, lit by a light at the
// camera so that it reads from any viewpoint, with its material's ambient colour where the light
// does not reach.
#include "common.fxh"

float4x4 World : LOCAL;
float4x4 WorldViewProj : LOCALVIEWPROJ;
float4 Diffuse : DIFFUSE = {1, 1, 1, 1};
float4 Ambient : AMBIENT = {0.1, 0.1, 0.1, 1};

glsl vertex LitVertex(vec3 Position : POSITION0, vec3 Normal : NORMAL0) {
    out vec3 worldPosition;
    out vec3 worldNormal;

    void main()
    {
        gl_Position = vec4(Position, 1.0) * WorldViewProj;
        worldPosition = (vec4(Position, 1.0) * World).xyz;
        // The world matrices of the show's objects scale evenly, so they turn normals as they turn
        // points.
        worldNormal = (vec4(Normal, 0.0) * World).xyz;
    }
}

glsl fragment LitFragment(vec4 Color : COLOR0) {
    in vec3 worldPosition;
    in vec3 worldNormal;

    void main()
    {
        vec3 toEye = normalize(EyePos - worldPosition);
        float light = max(dot(normalize(worldNormal), toEye), 0.0);
        Color = vec4(Ambient.rgb + Diffuse.rgb * light, Diffuse.a);
    }
}

technique Default {
    pass P0 {
        VertexShader = LitVertex; PixelShader = LitFragment;
        ZEnable = TRUE; ZFunc = LESSEQUAL; ZWriteEnable = TRUE; CullMode = NONE;
        AlphaBlendEnable = FALSE;
    }
}
