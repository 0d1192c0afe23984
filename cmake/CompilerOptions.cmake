# Warnings and sanitizers for every target of the project, applied through ql_options.
add_library(ql_options INTERFACE)
target_compile_options(ql_options INTERFACE -Wall -Wextra)
if(QL_WERROR)
    target_compile_options(ql_options INTERFACE -Werror)
endif()
if(QL_SANITIZE)
    target_compile_options(ql_options INTERFACE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(ql_options INTERFACE -fsanitize=address,undefined)
endif()
if(QL_FUZZ)
    # Coverage instrumentation for the library code; the fuzz executables add the libFuzzer driver.
    target_compile_options(ql_options INTERFACE -fsanitize=fuzzer-no-link)
    # The instrumentation calls into a runtime that only this flag links into the executables
    # without a fuzz driver (tests, tools) when no sanitizer runtime brings it along.
    target_link_options(ql_options INTERFACE -fsanitize=fuzzer-no-link)
endif()

if(QL_RELEASE)
    # The same sources give the same bytes wherever they are built: source files are named from
    # the project's root, and nothing of the build folder stays in the binaries.
    target_compile_options(ql_options INTERFACE
        -ffile-prefix-map=${PROJECT_SOURCE_DIR}/= -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
    target_compile_definitions(ql_options INTERFACE QL_SOURCE_DIR="")
    # libstdc++ goes into the program, so that a newer one on the machine serves the graphics
    # driver; libgcc_s, like the C library, is the machine's.
    target_link_options(ql_options INTERFACE -s -static-libstdc++)
else()
    # Lets device-call messages name source files from the project's root.
    target_compile_definitions(ql_options INTERFACE QL_SOURCE_DIR="${PROJECT_SOURCE_DIR}/")
endif()
