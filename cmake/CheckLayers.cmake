# Checks that the layers include one way only: Demo -> Modules -> Framework (with sync) -> Platform.
# A file of a layer that includes a header of a layer above it stops with its file and line.
# Run at configure time over the source tree, and by the tests over a tree with a fault:
#   cmake -DROOT=<folder holding Source/ and sync/> -P CheckLayers.cmake
if(ROOT)
    get_filename_component(ROOT "${ROOT}" ABSOLUTE)
endif()
if(NOT ROOT)
    message(FATAL_ERROR "CheckLayers.cmake: set ROOT to the folder that holds Source/")
endif()

# Each layer's folders and the include prefixes it must not use.
set(platform_folders Source/Platform)
set(platform_forbidden "Framework|sync|Modules|Demo")
set(framework_folders Source/Framework sync)
set(framework_forbidden "Modules|Demo")
set(modules_folders Source/Modules)
set(modules_forbidden "Demo")

set(faults "")
foreach(layer platform framework modules)
    foreach(folder ${${layer}_folders})
        file(GLOB_RECURSE sources ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp ${ROOT}/${folder}/*.inc)
        foreach(source ${sources})
            file(STRINGS ${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"(${${layer}_forbidden})/")
            foreach(line ${lines})
                file(RELATIVE_PATH name ${ROOT} ${source})
                string(STRIP "${line}" line)
                string(APPEND faults "\n  ${name}: ${line} (the ${layer} layer may not include a layer above it)")
            endforeach()
        endforeach()
    endforeach()
endforeach()
if(faults)
    message(FATAL_ERROR "Upward includes:${faults}")
endif()
