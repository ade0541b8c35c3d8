# One place for the warning flags every Velmora target builds with. The test command builds
# with VELMORA_WERROR, so a new warning fails CI instead of scrolling past.
option(VELMORA_WERROR "Treat compiler warnings as errors" OFF)
add_library(velmora_warnings INTERFACE)
if(MSVC)
    target_compile_options(velmora_warnings INTERFACE /W4 $<$<BOOL:${VELMORA_WERROR}>:/WX>)
else()
    target_compile_options(velmora_warnings INTERFACE -Wall -Wextra -Wshadow -Wconversion
                           -Wnon-virtual-dtor $<$<BOOL:${VELMORA_WERROR}>:-Werror>)
endif()
