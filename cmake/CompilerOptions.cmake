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

# Lets device-call messages name source files from the project's root.
target_compile_definitions(ql_options INTERFACE QL_SOURCE_DIR="${PROJECT_SOURCE_DIR}/")
