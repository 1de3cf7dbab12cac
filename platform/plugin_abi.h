// The C interfaces of the two libraries every PLC type brings along: the system-block library
// (nine entries) and the exchange library (23 entries). Texts are zero-ended UTF-16; a bool
// result is one byte. Shared by the workbench (caller) and the libraries (implementers).
#pragma once

#include <cstdint>

extern "C" {

// System-block library.
typedef const char16_t* (*SysBlockGetPlcNameFn)();
typedef const char16_t* (*SysBlockGetPlcInforFn)();
typedef void (*SysBlockSetLangFn)(int language);
typedef void (*SysBlockSetFolderFn)(const char16_t* folder);
typedef bool (*SysBlockCheckPageCompatibleFn)(int page, const uint8_t* data, int size);
typedef void (*SysBlockSetPageDataFn)(int page, const uint8_t* data, int size);
typedef void (*SysBlockGetPageDataFn)(int page, const uint8_t** data, int* size);
typedef void (*SysBlockGetPageSampleFn)(int page, const uint8_t** data, int* size);
typedef bool (*SysBlockExcuteUserConfigFn)(void* window);

// Exchange library. Sizes are in bytes; word pages are arrays of little-endian 32-bit words.
typedef const char16_t* (*ExchGetPlcNameFn)();
typedef const char16_t* (*ExchGetPlcInforFn)();
typedef void (*ExchSetLangFn)(int language);
typedef void (*ExchSetFolderFn)(const char16_t* folder);
typedef void (*ExchSetCommPortFn)(int station, const char16_t* port, int baudrate, int parity);
typedef void (*ExchSetCommPortAdvabcedFn)(const int* times, int count);
typedef void (*ExchClearFn)();
typedef void (*ExchSetPageFn)(int page, const void* data, int size);
typedef void (*ExchGetPageFn)(int page, const void** data, int* size);
typedef bool (*ExchExcuteFn)();

static_assert(sizeof(bool) == 1, "plug-in bool results are one byte");
}
