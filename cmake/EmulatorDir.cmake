# Lays out an emulator directory as a user would have it: the stand-in ZINC.EXE, the sample
# plugins, the renderer example, an empty cfg folder and, when given, Velmora itself. Used by
# the demo and by the tests that need a whole emulator directory.
function(velmora_emulator_dir target destination)
    cmake_parse_arguments(ARG "WITH_VELMORA;ALL" "" "" ${ARGN})
    set(files $<TARGET_FILE:zinc_standin>)
    set(commands
        COMMAND ${CMAKE_COMMAND} -E make_directory ${destination}/cfg
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:zinc_standin> ${destination}/ZINC.EXE
        COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/tools/renderer.cfg
                ${destination}/renderer.cfg)
    set(depends zinc_standin)
    foreach(plugin velmora_renderer_gl velmora_renderer_plain velmora_not_renderer velmora_sound)
        if(TARGET ${plugin})
            list(APPEND commands COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${plugin}>
                 ${destination}/)
            list(APPEND depends ${plugin})
        endif()
    endforeach()
    if(ARG_WITH_VELMORA)
        list(APPEND commands COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Velmora>
             ${destination}/)
        list(APPEND depends Velmora)
    endif()
    set(all)
    if(ARG_ALL)
        set(all ALL)
    endif()
    add_custom_target(${target} ${all} ${commands} VERBATIM)
    add_dependencies(${target} ${depends})
endfunction()
