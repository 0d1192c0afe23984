# Checks that the layers include one way only: Demo -> Modules -> Framework (with sync) -> Platform,
# and that the framework's device-free core reaches nothing of the device, window or audio.
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
# The device-free core inside the framework (Source/Framework/Core.cmake lists its files) includes
# only its own headers and the few platform headers named there: no window, device, effects or
# audio, and no framework file outside the core.
if(EXISTS ${ROOT}/Source/Framework/Core.cmake)
    include(${ROOT}/Source/Framework/Core.cmake)
    set(core_headers ${QL_CORE_PLATFORM_HEADERS})
    list(JOIN QL_CORE_PLATFORM_HEADERS ", " platform_headers)
    foreach(file ${QL_CORE_FILES})
        if(file MATCHES "\\.h$")
            string(REGEX REPLACE "^Source/" "" header "${file}")
            list(APPEND core_headers "${header}")
        endif()
    endforeach()
    foreach(file ${QL_CORE_FILES})
        file(STRINGS ${ROOT}/${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
        foreach(line ${lines})
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" included "${line}")
            list(FIND core_headers "${included}" known)
            if(known EQUAL -1)
                string(STRIP "${line}" line)
                string(APPEND faults "\n  ${file}: ${line} (the core may include only core headers and ${platform_headers})")
            endif()
        endforeach()
    endforeach()
endif()

if(faults)
    message(FATAL_ERROR "Upward includes:${faults}")
endif()
