# basefile.dat: pack builds it from the staging folder (cmake/Archive.cmake) once every registered
# output is staged. Included last by Data/CMakeLists.txt, so every output of Data/ is registered.
get_property(staged GLOBAL PROPERTY QL_ARCHIVE_OUTPUTS)

# A file whose source is gone stays in the staging folder and would still be packed; removing it
# keeps the archive what a fresh build makes. Removing a source changes a glob, which re-runs this.
file(GLOB_RECURSE leftovers ${QL_ARCHIVE_STAGING}/*)
if(staged AND leftovers)
    list(REMOVE_ITEM leftovers ${staged})
endif()
if(leftovers)
    file(REMOVE ${leftovers})
endif()
# Changes when the list of staged files does, so that a removal alone repacks the archive.
list(JOIN staged "\n" contents)
file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/archive-contents.txt CONTENT "${contents}\n" @ONLY)

set(QL_ARCHIVE ${CMAKE_BINARY_DIR}/basefile.dat)
add_custom_command(OUTPUT ${QL_ARCHIVE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QL_ARCHIVE_STAGING}
    COMMAND pack ${QL_ARCHIVE_STAGING} -o ${QL_ARCHIVE}
    DEPENDS pack ${staged} ${CMAKE_CURRENT_BINARY_DIR}/archive-contents.txt
    COMMENT "Packing basefile.dat")
add_custom_target(archive ALL DEPENDS ${QL_ARCHIVE})
get_property(stagingTargets GLOBAL PROPERTY QL_ARCHIVE_TARGETS)
if(stagingTargets)
    add_dependencies(archive ${stagingTargets})
endif()

# Everything staged, nothing packed: what a running show in the maker's mode reads from the
# staging folder (scripts/live rebuilds it whenever a source under Data/ changes).
add_custom_target(staged-data)
if(stagingTargets)
    add_dependencies(staged-data ${stagingTargets})
endif()
