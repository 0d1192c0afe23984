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
