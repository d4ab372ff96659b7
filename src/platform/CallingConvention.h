#pragma once

// The reader vendors' libraries use __stdcall on 32-bit x86. The 32-bit Linux build binds its
// libraries (the simulated reader's among them) the same way, so that it exercises the calling
// convention of the Windows product; everywhere else the platform's only C convention applies.
#if defined(__i386__) || defined(_M_IX86)
#define ZIR_STDCALL __attribute__((stdcall))
#else
#define ZIR_STDCALL
#endif

#if defined(_WIN32)
#define ZIR_EXPORT extern "C" __declspec(dllexport)
#else
#define ZIR_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace zir::platform {

// Where __stdcall is a calling convention of its own, a function pointer type with it differs
// from one without: compile-time checks of the reader's bindings rely on that.
#if defined(__i386__) || defined(_M_IX86)
inline constexpr bool kStdcallIsDistinct = true;
#else
inline constexpr bool kStdcallIsDistinct = false;
#endif

} // namespace zir::platform
