# ql_compile_effects(<folder>): every <name>.fx in the folder is compiled by fxc into the archive
# entry OShaders\<name>o (the show reads effects only in compiled form), and every *.fxh include
# is staged as Shaders\<file> (where an effect's includes are looked up at run time). A broken
# effect fails the build.
function(ql_compile_effects folder)
    file(GLOB effects CONFIGURE_DEPENDS ${folder}/*.fx)
    file(GLOB includes CONFIGURE_DEPENDS ${folder}/*.fxh)
    foreach(source ${effects})
        get_filename_component(name ${source} NAME)
        set(output ${QL_ARCHIVE_STAGING}/OShaders/${name}o)
        # Any include may be read by any effect; depending on all of them keeps rebuilds right.
        add_custom_command(OUTPUT ${output}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${QL_ARCHIVE_STAGING}/OShaders
            COMMAND fxc ${source} -I ${folder} -o ${output}
            DEPENDS fxc ${source} ${includes}
            COMMENT "Compiling effect ${name}")
        ql_archive_output(${output})
    endforeach()
    foreach(include ${includes})
        get_filename_component(name ${include} NAME)
        ql_archive_copy(${include} Shaders/${name})
    endforeach()
endfunction()
