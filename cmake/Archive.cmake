# The show's archive is packed from a staging folder that mirrors the archive's entry names
# (Data/events/Scenes.txt becomes the entry Data\events\Scenes.txt). Every generator writes its
# output into that folder with a custom command and registers the output here, so that packing
# waits for it.
set(QL_ARCHIVE_STAGING ${CMAKE_BINARY_DIR}/archive CACHE INTERNAL "Staging folder of basefile.dat")

# ql_archive_output(<absolute path inside QL_ARCHIVE_STAGING> ...)
function(ql_archive_output)
    set_property(GLOBAL APPEND PROPERTY QL_ARCHIVE_OUTPUTS ${ARGN})
    # CMake makes a custom command's rule only for targets of the command's own directory, so the
    # outputs of each directory hang on a target there (listed in QL_ARCHIVE_TARGETS) that packing
    # depends on.
    file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    string(MAKE_C_IDENTIFIER "ql_stage_${folder}" target)
    if(NOT TARGET ${target})
        add_custom_target(${target})
        set_property(GLOBAL APPEND PROPERTY QL_ARCHIVE_TARGETS ${target})
    endif()
    target_sources(${target} PRIVATE ${ARGN})
endfunction()

# ql_archive_copy(<source file> <path inside the staging folder>): a data file that goes in as it is.
function(ql_archive_copy source relative)
    set(output ${QL_ARCHIVE_STAGING}/${relative})
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E copy ${source} ${output}
        DEPENDS ${source}
        COMMENT "Staging ${relative}")
    ql_archive_output(${output})
endfunction()
