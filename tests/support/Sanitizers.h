#pragma once
// VELMORA_ASAN is 1 in a build under AddressSanitizer (gcc or clang), where tests that repeat
// a costly step many times do fewer rounds.

#if defined(__SANITIZE_ADDRESS__)
#define VELMORA_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELMORA_ASAN 1
#endif
#endif
