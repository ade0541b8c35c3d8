#pragma once
// Entries of the stand-in plugins the tests load, exported as the emulator's plugins export
// theirs: plain C names.
#ifdef _WIN32
#define VELMORA_PLUGIN_ENTRY extern "C" __declspec(dllexport)
#else
#define VELMORA_PLUGIN_ENTRY extern "C" __attribute__((visibility("default")))
#endif
