#pragma once
// The one name the window module shows to the executable that loads it.

extern "C" {
using VelmoraRunWindowed = int (*)(int* argc, char** argv);
inline constexpr const char* kVelmoraRunWindowed = "velmora_run_windowed";
}
