# The settings commands and the Game menu of the application. Included from the CMake file that
# builds src/app; every path is relative to this file.

# The commands need no Qt at all.
add_library(velmora_settings_modes STATIC ${CMAKE_CURRENT_LIST_DIR}/SettingsModes.cpp)
set_target_properties(velmora_settings_modes PROPERTIES AUTOMOC OFF)
target_include_directories(velmora_settings_modes PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(velmora_settings_modes PUBLIC velmora_settings_core velmora_games_core
                      PRIVATE velmora_warnings)

# The Game menu over the settings dialogs.
add_library(velmora_game_menu STATIC ${CMAKE_CURRENT_LIST_DIR}/GameMenu.cpp)
target_include_directories(velmora_game_menu PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(velmora_game_menu PUBLIC velmora_settings velmora_games Qt6::Widgets
                      PRIVATE velmora_warnings)
