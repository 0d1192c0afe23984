# A core of two files, one of which reaches the device: the layering check must refuse it.
set(QL_CORE_FILES
    Source/Framework/Noise/NoiseVolume.h
    Source/Framework/Noise/NoiseVolume.cpp
)
set(QL_CORE_PLATFORM_HEADERS Platform/D3DX/D3DXMath.h)
