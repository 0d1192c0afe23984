float2 Texel : RTDIMPIXELINV
float Other;
