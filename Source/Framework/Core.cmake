# The device-free core of the engine: archive reading and writing, the clock, sync tracks, the scene
# timeline, animation curves, scene files, noise, the flow field, the random generator, the
# exception types and the command line's quoting and sizes. It needs no window, device or audio, so
# the data tools, the fuzz targets and the pure tests link it alone. Paths are from the project root; the layering check reads this list
# too (a core file includes only core headers and QL_CORE_PLATFORM_HEADERS).
set(QL_CORE_FILES
    Source/Framework/FrameworkEx.h
    Source/Framework/FrameworkSupportFailed.h
    Source/Framework/Singleton.h
    Source/Framework/Notice.h
    Source/Framework/Notice.cpp
    Source/Framework/CommandLineQuoting.h
    Source/Framework/CommandLineQuoting.cpp
    Source/Framework/PixelSize.h
    Source/Framework/PixelSize.cpp
    Source/Framework/FileSys/FileSys.h
    Source/Framework/FileSys/FileSys.cpp
    Source/Framework/FileSys/ArchiveLocation.h
    Source/Framework/FileSys/ArchiveLocation.cpp
    Source/Framework/FileSys/ArchiveWriter.h
    Source/Framework/FileSys/ArchiveWriter.cpp
    Source/Framework/FileSys/AtomicFile.h
    Source/Framework/FileSys/AtomicFile.cpp
    Source/Framework/LiveReload/ReloadHub.h
    Source/Framework/LiveReload/ReloadHub.cpp
    Source/Framework/Timer/Timer.h
    Source/Framework/Timer/Timer.cpp
    Source/Framework/Timer/DemoSyncTimer.h
    Source/Framework/Timer/DemoSyncTimer.cpp
    Source/Framework/SceneHandler/SceneTimeline.h
    Source/Framework/SceneHandler/SceneTimeline.cpp
    Source/Framework/Scene/CurveFile.h
    Source/Framework/Scene/CurveFile.cpp
    Source/Framework/Scene/AnimCurve.h
    Source/Framework/Scene/AnimCurve.cpp
    Source/Framework/Scene/NodeAnim.h
    Source/Framework/Scene/NodeAnim.cpp
    Source/Framework/Scene/Vec3Curve.h
    Source/Framework/Scene/Vec3Curve.cpp
    Source/Framework/Scene/CameraLens.h
    Source/Framework/Scene/SceneFile.h
    Source/Framework/Scene/SceneFile.cpp
    Source/Framework/Scene/detail/XmlNesting.h
    Source/Framework/Scene/detail/XmlNesting.cpp
    Source/Framework/Noise/CrtRand.h
    Source/Framework/Noise/CrtRand.cpp
    Source/Framework/Noise/GradientNoise.h
    Source/Framework/Noise/GradientNoise.cpp
    Source/Framework/Noise/NoiseVolume.h
    Source/Framework/Noise/NoiseVolume.cpp
    Source/Framework/Noise/NURBSVOLUME.h
    Source/Framework/Noise/NURBSVOLUME.cpp
    Source/Framework/Noise/FlowField.h
    Source/Framework/Noise/FlowField.cpp
    sync/data.h
    sync/data.cpp
    sync/device.h
    sync/device.cpp
    sync/timer.h
    sync/track.h
    sync/track.cpp
    sync/trackfile.h
    sync/trackfile.cpp
)
# The platform headers the core may use: maths, and integer conversion. Nothing of the window,
# the graphics device, effects or audio.
set(QL_CORE_PLATFORM_HEADERS
    Platform/D3DX/D3DXMath.h
    Platform/ClampToInteger.h
)
