/*
 * Declarations of libqx_api_trovix's signals, signal information and signal
 * blocks as the bindings see them, in the library's own declaration order.
 *
 * A signal is addressed by its Qx_Trovix_SignalHandle_t (qx_api_trovix.h).
 * A signal block is an object of the library, known only by its address:
 * Qx_Trovix_SignalBlock_t declares no layout. Parameter names matter: the
 * rules of api/trovix/params.txt are applied to exact `type name` pairs.
 */
#ifndef QX_API_TROVIX_SIGNAL_H
#define QX_API_TROVIX_SIGNAL_H

#include "qx_api_trovix.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Signals ------------------------------------------------------------------ */

typedef u32_t Qx_Trovix_Signal_Config2_CmdFlags_t;
typedef u32_t Qx_Trovix_Signal_Write_CmdFlags_t;
typedef u32_t Qx_Trovix_Signal_Read_CmdFlags_t;
typedef u32_t Qx_Trovix_Signal_Read_RspFlags_t;

/* One signal definition of Qx_Trovix_Signal_Config2. */
typedef struct {
  char Name[256];
  u16_t ComId;
  u8_t TransmissionMode;
  u8_t reserved;
  struct {
    u8_t Type; /* a QX_TROVIX__SIGNAL__TYPE__ value */
    u8_t LengthType;
    u8_t reserved2;
    u8_t reserved3;
    u32_t BitSize;
    u32_t MinValue;
    u32_t MaxValue;
    u32_t DefaultValue;
  } Internal;
  struct {
    u8_t Type;
    u8_t reserved1;
    u8_t reserved2;
    u8_t reserved3;
    u8_t reserved4;
    u8_t reserved5;
    u8_t reserved6;
    u8_t reserved7;
    float64_t MinValue;
    float64_t MaxValue;
  } Physical;
  float64_t Offset;
  float64_t Factor;
} Qx_Trovix_Signal_Config2_Signal_t;

/* Called by the library when a signal's value is updated: port, mode,
 * signal handle, flags, data size, data. */
typedef void (*Qx_Trovix_Signal_UpdateCallback_t)(Qx_PortHandle_t const, u8_t const, u16_t const, u32_t const,
                                                  u16_t const, void const *const);

Qx_Error_t Qx_Trovix_Signal_Config(Qx_PortHandle_t portHandle, char const *const signalConfiguration);
Qx_Error_t Qx_Trovix_Signal_Config2(Qx_PortHandle_t portHandle, Qx_Trovix_Signal_Config2_CmdFlags_t flags,
                                    u32_t numberOfSignals, Qx_Trovix_Signal_Config2_Signal_t const *const signals);
/* Writes `dataSize` bytes at `data` as the signal's value. */
Qx_Error_t Qx_Trovix_Signal_Write(Qx_PortHandle_t portHandle, u8_t mode, Qx_Trovix_Signal_Write_CmdFlags_t flags,
                                  Qx_Trovix_SignalHandle_t signalHandle, u16_t dataSize, void const *const data);
/* Reads the signal's value into `data`: *dataSize is the room there on entry
 * and the value's size on return. */
Qx_Error_t Qx_Trovix_Signal_Read(Qx_PortHandle_t portHandle, u8_t mode, Qx_Trovix_Signal_Read_CmdFlags_t flags,
                                 Qx_Trovix_SignalHandle_t signalHandle, Qx_Trovix_Signal_Read_RspFlags_t *const rspFlags,
                                 u16_t *const dataSize, void *const data);
Qx_Error_t Qx_Trovix_Signal_UpdateCallback_Set(Qx_PortHandle_t portHandle, u8_t mode,
                                               Qx_Trovix_Signal_Read_CmdFlags_t flags,
                                               Qx_Trovix_SignalHandle_t signalHandle,
                                               Qx_Trovix_Signal_UpdateCallback_t const callback);
Qx_Error_t Qx_Trovix_Signal_UpdateCallback_Reset(Qx_PortHandle_t portHandle, Qx_Trovix_SignalHandle_t signalHandle);

/* ---- Signal information ------------------------------------------------------- */

/* Description of one signal. */
typedef struct {
  char Name[256];
  float64_t Offset;
  float64_t Factor;
  struct {
    u32_t MinValue;
    u32_t MaxValue;
    u32_t DefaultValue;
    u32_t reserved1;
    u32_t reserved2;
    u8_t Type;
    u8_t reserved3;
    u16_t Size;
  } Internal;
  struct {
    float64_t MinValue;
    float64_t MaxValue;
    float64_t reserved1;
    float64_t reserved2;
    u8_t Type;
    u8_t reserved3;
    u16_t Size;
    u32_t reserved4;
  } Physical;
} Qx_Trovix_SignalInfo_t;

Qx_Error_t Qx_Trovix_Signal_GetNumberOfSignals(Qx_PortHandle_t portHandle, u32_t *const numberOfSignals);
/* *signalCount: the room at signalList on entry, the records written on return. */
Qx_Error_t Qx_Trovix_Signal_GetSignalList(Qx_PortHandle_t portHandle, u32_t *const signalCount,
                                          Qx_Trovix_SignalInfo_t *const signalList);
Qx_Error_t Qx_Trovix_Signal_GetSignalInfo(Qx_PortHandle_t portHandle, Qx_Trovix_SignalHandle_t signalHandle,
                                          Qx_Trovix_SignalInfo_t *const signalInfo);
Qx_Error_t Qx_Trovix_Signal_GetSignalTransmissionMode(Qx_PortHandle_t portHandle,
                                                      Qx_Trovix_SignalHandle_t signalHandle,
                                                      u8_t *const transmissionMode);
Qx_Error_t Qx_Trovix_Signal_GetSignalHandle(Qx_PortHandle_t portHandle, char const *const signalName,
                                            Qx_Trovix_SignalHandle_t *const signalHandle);

/* ---- Signal blocks -------------------------------------------------------------- */

typedef u32_t Qx_Trovix_SignalBlock_Config_CmdFlags_t;
typedef u32_t Qx_Trovix_SignalBlock_Delete_CmdFlags_t;
typedef u32_t Qx_Trovix_SignalBlock_SignalFlags_t;
typedef u32_t Qx_Trovix_SignalBlock_Buffer_Config_CmdFlags_t;
typedef u32_t Qx_Trovix_SignalBlock_Buffer_Read_CmdFlags_t;
typedef u32_t Qx_Trovix_SignalBlock_Buffer_Read_RspFlags_t;

/* A signal block of the library (no layout declared). */
typedef struct Qx_Trovix_SignalBlock Qx_Trovix_SignalBlock_t;

/* One member signal of a block. */
typedef struct {
  Qx_Trovix_SignalHandle_t SignalHandle;
  u8_t reserved1;
  u8_t reserved2;
  Qx_Trovix_SignalBlock_SignalFlags_t SignalFlags;
} Qx_Trovix_SignalBlock_Signals_t;

typedef struct Qx_Trovix_SignalBlock_Buffer_Config_Cmd_t {
  Qx_Trovix_SignalBlock_Buffer_Config_CmdFlags_t Flags;
  u32_t BufferSize;
  u32_t PollingCycle;
} Qx_Trovix_SignalBlock_Buffer_Config_Cmd_t;

/* Creates a block of `numberOfSignals` signals and stores its address in
 * *signalBlock; Qx_Trovix_SignalBlock_Delete ends it and clears the cell. */
Qx_Error_t Qx_Trovix_SignalBlock_Config(Qx_PortHandle_t portHandle, Qx_Trovix_SignalBlock_Config_CmdFlags_t flags,
                                        Qx_Trovix_SignalBlock_t **signalBlock, u32_t numberOfSignals,
                                        Qx_Trovix_SignalBlock_Signals_t const *const signals);
Qx_Error_t Qx_Trovix_SignalBlock_Delete(Qx_PortHandle_t portHandle, Qx_Trovix_SignalBlock_Delete_CmdFlags_t flags,
                                        Qx_Trovix_SignalBlock_t **signalBlock);
Qx_Error_t Qx_Trovix_SignalBlock_Write(Qx_PortHandle_t portHandle, Qx_Trovix_SignalBlock_t const *const signalBlock,
                                       u8_t const *const blockData);
Qx_Error_t Qx_Trovix_SignalBlock_Read(Qx_PortHandle_t portHandle, Qx_Trovix_SignalBlock_t const *const signalBlock,
                                      u8_t *const blockData);
Qx_Error_t Qx_Trovix_SignalBlock_Buffer_Reset(Qx_PortHandle_t portHandle, Qx_Trovix_SignalBlock_t *const signalBlock);
Qx_Error_t Qx_Trovix_SignalBlock_Buffer_Config(Qx_PortHandle_t portHandle, Qx_Trovix_SignalBlock_t *const signalBlock,
                                               Qx_Trovix_SignalBlock_Buffer_Config_Cmd_t const *const bufferConfig);
Qx_Error_t Qx_Trovix_SignalBlock_Buffer_Read(Qx_PortHandle_t portHandle, Qx_Trovix_SignalBlock_t *const signalBlock,
                                             Qx_Trovix_SignalBlock_Buffer_Read_CmdFlags_t flags,
                                             Qx_Trovix_SignalBlock_Buffer_Read_RspFlags_t *const rspFlags,
                                             u8_t *const blockData);

#ifdef __cplusplus
}
#endif

#endif
