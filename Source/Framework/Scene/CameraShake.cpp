#include "Framework/Scene/CameraShake.h"

#include "Framework/Noise/GradientNoise.h"

float fractalNoise1(float x, float alpha, float beta)
{
    float sum = 0.0f;
    float divisor = 1.0f;
    for (int octave = 0; octave < 5; ++octave) {
        sum += GradientNoise::noise1(x) / divisor;
        divisor *= alpha;
        x *= beta;
    }
    return sum;
}

D3DXVECTOR3 CameraShake(float t)
{
    return {fractalNoise1(t, 2.0f, 2.0f), fractalNoise1(1.2f * t + 0.3f, 2.5f, 1.8f),
            fractalNoise1(1.3f * t + 0.54f, 2.9f, 1.7f)};
}
