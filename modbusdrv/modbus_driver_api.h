/* Exported functions of the Modbus master driver library, for hosts that load it.
 * Texts are zero-ended strings in code page 936. Results: 0 done, 1 failed or not found,
 * unless stated otherwise. */
#ifndef MODBUSDRV_MODBUS_DRIVER_API_H
#define MODBUSDRV_MODBUS_DRIVER_API_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(MODBUSDRV_BUILDING)
#define MODBUSDRV_EXPORT __attribute__((visibility("default")))
#else
#define MODBUSDRV_EXPORT
#endif

/* Called for every bound tag after each poll of its items, and with quality 1 when its value
 * becomes unknown. value: 8 bytes laid out by *type (2 bit, 4 uint16, 5 int32, 7 float,
 * 8 double), little-endian. */
typedef int (*DrvValueSink)(uint32_t tagId, void* value, uint32_t size, uint32_t* type, uint32_t* quality);
/* Called with the channel start messages; level is 1. */
typedef int (*DrvMessageSink)(const char* text, int level);

MODBUSDRV_EXPORT int DrvRegValSinkEx(DrvValueSink sink);
MODBUSDRV_EXPORT int DrvRegMsgSinkEx(DrvMessageSink sink);
MODBUSDRV_EXPORT int DrvStartEx(void);
MODBUSDRV_EXPORT int DrvStopEx(void);
MODBUSDRV_EXPORT int DrvAddTagEx(const char* address, uint32_t tagId);
MODBUSDRV_EXPORT int DrvDelTagEx(uint32_t tagId);
MODBUSDRV_EXPORT int DrvEditTagEx(const char* address, uint32_t tagId);
MODBUSDRV_EXPORT int DrvGetValByIDEx(uint32_t tagId, void* value, void* unused, uint32_t* type, uint32_t* quality);
MODBUSDRV_EXPORT int DrvSetValByIDEx(uint32_t tagId, const void* value, int length);
/* The buffer must hold 268 bytes (a device name of up to 259 bytes, ":", six digits, NUL). */
MODBUSDRV_EXPORT int DrvEnuTagEx(char* address);
MODBUSDRV_EXPORT int DrvGetAddsFmtEx(char* address);
MODBUSDRV_EXPORT int DrvGetConfigEx(void);
MODBUSDRV_EXPORT int DrvSetConfigEx(void);

/* Old forms. */
MODBUSDRV_EXPORT int DrvStart(void);
MODBUSDRV_EXPORT int DrvStop(void);
MODBUSDRV_EXPORT int DrvClear(void);
MODBUSDRV_EXPORT int DrvConfig(void);
MODBUSDRV_EXPORT int DrvEnuTag(char* address);
MODBUSDRV_EXPORT uint32_t DrvAddTag(const char* address);
MODBUSDRV_EXPORT int DrvDelTag(int unused, uint32_t tagId);
MODBUSDRV_EXPORT int DrvGetVal(uint32_t tagId, double* value);
MODBUSDRV_EXPORT int DrvSetVal(uint32_t tagId, double value);
MODBUSDRV_EXPORT int DrvAddFmt(void);

/* Kept for hosts that bind them; they take no notice of their arguments. */
MODBUSDRV_EXPORT int DrvChkFmt(void);
MODBUSDRV_EXPORT int DrvGetValByAddsEx(void);
MODBUSDRV_EXPORT int DrvSetAddsFmtEx(void);
MODBUSDRV_EXPORT int DrvSetValByAddsEx(void);
MODBUSDRV_EXPORT int DrvGetMsg(void);
MODBUSDRV_EXPORT int DrvChkAddsFmtEx(void);
MODBUSDRV_EXPORT int DrvGetDesc(void);

#ifdef __cplusplus
}
#endif

#endif
