# Some tests need programs from outside the build: Xvfb and xdotool for real windows, openbox
# for a window manager, desktop-file-validate, Wine for the cross build, Python's AT-SPI client
# and a session bus for reading the window as a screen reader does. A developer's machine
# without them skips those tests and says so here. The test command configures with
# VELMORA_REQUIRE_ALL_TESTS=ON, under which a missing program ends the configure: a test that
# quietly does not exist would pass for ever.

# velmora_test_tools(<found var> "<what needs them>" <program>...): finds each program, its path
# in VELMORA_TOOL_<PROGRAM> (upper case, "-" as "_"), and sets <found var> to whether all were.
function(velmora_test_tools found what)
    set(missing)
    foreach(program IN LISTS ARGN)
        string(MAKE_C_IDENTIFIER "VELMORA_TOOL_${program}" var)
        string(TOUPPER "${var}" var)
        find_program(${var} ${program})
        if(NOT ${var})
            list(APPEND missing ${program})
        endif()
    endforeach()
    if(missing)
        velmora_missing_for_tests("${what}" ${missing})
        set(${found} FALSE PARENT_SCOPE)
    else()
        set(${found} TRUE PARENT_SCOPE)
    endif()
endfunction()

# velmora_test_python_module(<found var> "<what needs it>" <module> <package>): finds the
# python3 that imports <module>, its path in VELMORA_TOOL_PYTHON3, and sets <found var> to
# whether there is one; <package> is named when there is not. Debian's Python modules belong to
# /usr/bin/python3, which is asked first: another python3 earlier on PATH (pyenv's, say) lacks
# them.
function(velmora_test_python_module found what module package)
    find_program(VELMORA_TOOL_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH)
    find_program(VELMORA_TOOL_PYTHON3 python3)
    set(result 1)
    if(VELMORA_TOOL_PYTHON3)
        execute_process(COMMAND ${VELMORA_TOOL_PYTHON3} -c "import ${module}"
                        RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
    endif()
    if(result EQUAL 0)
        set(${found} TRUE PARENT_SCOPE)
    else()
        velmora_missing_for_tests("${what}" "${package} (python3's ${module})")
        set(${found} FALSE PARENT_SCOPE)
    endif()
endfunction()

# velmora_missing_for_tests("<what needs them>" <missing thing>...): fails or warns once.
function(velmora_missing_for_tests what)
    list(JOIN ARGN ", " names)
    if(VELMORA_REQUIRE_ALL_TESTS)
        message(FATAL_ERROR "${what} needs ${names}, which this machine lacks. Install it "
                            "(scripts/deps.sh installs every package the tests need), or "
                            "configure with VELMORA_REQUIRE_ALL_TESTS=OFF to skip those tests.")
    endif()
    message(STATUS "Skipped, for want of ${names}: ${what}")
endfunction()
