#pragma once

// The reader vendors' libraries use __stdcall on 32-bit Windows; everywhere else the platform's
// only C calling convention applies.
#if defined(_WIN32) && !defined(_WIN64)
#define ZIR_STDCALL __stdcall
#else
#define ZIR_STDCALL
#endif

#if defined(_WIN32)
#define ZIR_EXPORT extern "C" __declspec(dllexport)
#else
#define ZIR_EXPORT extern "C" __attribute__((visibility("default")))
#endif
