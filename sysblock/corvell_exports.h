// The nine exported entry points of Corvell, bound by name by the workbench. C linkage; texts
// are zero-ended UTF-16; a bool result is one byte, nonzero for true; nothing is thrown.
#pragma once

#include <cstdint>

#define CORVELL_EXPORT extern "C" __attribute__((visibility("default")))

CORVELL_EXPORT const char16_t* GetPlcName();
CORVELL_EXPORT const char16_t* GetPlcInfor();
CORVELL_EXPORT void SetLang(int language);
CORVELL_EXPORT void SetFolder(const char16_t* folder);
CORVELL_EXPORT bool CheckPageCompatible(int page, const uint8_t* data, int size);
CORVELL_EXPORT void SetPageData(int page, const uint8_t* data, int size);
CORVELL_EXPORT void GetPageData(int page, const uint8_t** data, int* size);
CORVELL_EXPORT void GetPageSample(int page, const uint8_t** data, int* size);
// Runs the system-block property sheet over the current pages; true when the user confirmed.
CORVELL_EXPORT bool ExcuteUserConfig(void* parentWindow);
