/*
 * Declarations of libqx_api_can's transport protocols and diagnostic
 * sessions as the bindings see them, in the library's own declaration order:
 * transport-protocol channels (taken, freed, switched off, monitor filter),
 * broadcast data (sent, read, native callbacks), the configuration of one
 * channel for ISO 15765 (parameter and command forms), GMLAN, J1939, TP 1.6
 * and TP 2.0, the diagnostic session configuration of GMLAN, J1939, KWP2000
 * (over ISO-TP, TP 1.6 and TP 2.0) and UDS (over ISO-TP, and UDS), and the
 * diagnostic state with its asynchronous form.
 *
 * The addressing formats of ISO 15765 (Qx_Can_Tp_Iso15765_AddressingFormat_t)
 * are declared in qx_api_can.h with the module's other constants; they are
 * the values of the AddressingFormat_ fields of Qx_Can_Tp_Config_Iso15765_Cmd_t.
 *
 * Parameter names matter: output, buffer and list rules are applied to exact
 * `type name` pairs in api/can/params.txt.
 */
#ifndef QX_API_CAN_TP_H
#define QX_API_CAN_TP_H

#include "qx_api_can.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Transport-protocol channels and broadcast ---------------------------- */

typedef u8_t Qx_Can_Tp_BroadCast_TransmissionMode_t;
typedef u8_t Qx_Can_Tp_SetMonitorFilter_Mode_t;

/* The channel handed out by Qx_Can_Tp_GetChannel_Async. */
typedef void (*Qx_Can_Tp_GetChannel_Async_Callback_t)(Qx_PortHandle_t const, u8_t const);
/* Broadcast bytes received on a channel: the bytes and their number. */
typedef void (*Qx_Can_Tp_Broadcast_GetData_Async_Callback_t)(Qx_PortHandle_t const, u8_t const, u8_t const *const,
                                                             u32_t const);

Qx_Error_t Qx_Can_Tp_GetChannel(Qx_PortHandle_t portHandle, u8_t *const channel);
Qx_Error_t Qx_Can_Tp_GetChannel_Async_AddCallback(Qx_PortHandle_t portHandle,
                                                  Qx_Can_Tp_GetChannel_Async_Callback_t const callback);
Qx_Error_t Qx_Can_Tp_GetChannel_Async_RemoveCallback(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Can_Tp_GetChannel_Async(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Can_Tp_FreeChannel(Qx_PortHandle_t portHandle, u8_t channel);
Qx_Error_t Qx_Can_Tp_Config_Off(Qx_PortHandle_t portHandle, u8_t channel);
/* transmitData is a 64-byte buffer; what the library takes dataLength to be
 * (the simulated device: how many of its bytes to send) is its own. */
Qx_Error_t Qx_Can_Tp_Broadcast_StartTransmission(Qx_PortHandle_t portHandle, u8_t channel,
                                                 Qx_Can_Tp_BroadCast_TransmissionMode_t mode,
                                                 u8_t const *const transmitData, u32_t dataLength);
Qx_Error_t Qx_Can_Tp_Broadcast_StopTransmission(Qx_PortHandle_t portHandle, u8_t channel);
/* receivedLength: the capacity of receivedData on entry, the number of bytes
 * delivered on return. */
Qx_Error_t Qx_Can_Tp_Broadcast_GetData(Qx_PortHandle_t portHandle, u8_t channel, u8_t *const receivedData,
                                       u32_t *const receivedLength);
Qx_Error_t Qx_Can_Tp_Broadcast_GetData_Async_AddCallback(Qx_PortHandle_t portHandle, u8_t channel,
                                                         Qx_Can_Tp_Broadcast_GetData_Async_Callback_t const callback);
Qx_Error_t Qx_Can_Tp_Broadcast_GetData_Async_RemoveCallback(Qx_PortHandle_t portHandle, u8_t channel);
Qx_Error_t Qx_Can_Tp_Broadcast_GetData_Async(Qx_PortHandle_t portHandle, u8_t channel);
Qx_Error_t Qx_Can_Tp_SetMonitorFilter(Qx_PortHandle_t portHandle, u8_t channel,
                                      Qx_Can_Tp_SetMonitorFilter_Mode_t mode);

/* ---- Transport-protocol configuration -------------------------------------- */

typedef u32_t Qx_Can_Tp_Config_GmLan_CmdFlags_t;
typedef u8_t Qx_Can_Tp_Config_GmLan_AddressingFormat_t;
typedef u32_t Qx_Can_Tp_Config_IsoTp_CmdFlags_t;
typedef u8_t Qx_Can_Tp_Config_IsoTp_AddressingFormat_t;
typedef u8_t Qx_Can_Tp_Config_Tp_2_0_ApplicationType_t;
typedef u32_t Qx_Can_Tp_Config_Iso15765_CmdFlags_t;

/* Records: natural alignment, capped at 4 bytes. */
#pragma pack(push, 4)

/* GMLAN: segmented (USDT) and unsegmented (UUDT) transfers. */
typedef struct {
  struct {
    u8_t PhysicalSourceAddress;
    u8_t PhysicalTargetAddress;
    u8_t FunctionalSourceAddress;
    u8_t FunctionalTargetAddress;
    u32_t PhysicalRequestId;
    u32_t PhysicalResponseId;
    u32_t AllNodeFunctionalRequestId;
    Qx_Can_Tp_Config_GmLan_AddressingFormat_t PhysicalAddressingFormat;
    Qx_Can_Tp_Config_GmLan_AddressingFormat_t FunctionalAddressingFormat;
    u8_t BlockSize;
    u8_t SeparationTime;
    Qx_Can_Tp_Config_GmLan_CmdFlags_t Flags;
    u8_t OwnSeparationTime;
    u8_t reserved1;
    u8_t reserved2;
    u8_t reserved3;
    u16_t TimeoutAs;
    u16_t TimeoutAr;
    u16_t TimeoutBs;
    u16_t TimeoutCr;
  } USDT;
  struct {
    u32_t ResponseId;
  } UUDT;
} Qx_Can_Tp_Config_GmLan_Parameters_t;

/* ISO 15765-2, parameter form: block size and STmin of the flow control,
 * the times N_As, N_Ar, N_Bs, N_Cr and N_Br, and TX_DL for physical and
 * functional addressing. Byte 47 belongs to no field. */
typedef struct {
  u8_t PhysicalSourceAddress;
  u8_t PhysicalTargetAddress;
  u8_t FunctionalSourceAddress;
  u8_t FunctionalTargetAddress;
  u32_t PhysicalSourceId;
  u32_t PhysicalTargetId;
  u32_t FunctionalSourceId;
  u32_t FunctionalTargetId;
  Qx_Can_Tp_Config_IsoTp_AddressingFormat_t PhysicalAddressingFormat;
  Qx_Can_Tp_Config_IsoTp_AddressingFormat_t FunctionalAddressingFormat;
  u8_t BlockSize;
  u8_t SeparationTime;
  Qx_Can_Tp_Config_IsoTp_CmdFlags_t Flags;
  u8_t OwnSeparationTime;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u16_t TimeoutAs;
  u16_t TimeoutAr;
  u16_t TimeoutBs;
  u16_t TimeoutCr;
  u16_t TimeBrBetweenFfAndFc;
  u16_t TimeBrBetweenCfAndFc;
  u8_t PaddingByte;
  u8_t PhysicalTxDl;
  u8_t FunctionalTxDl;
} Qx_Can_Tp_Config_IsoTp_Parameters_t;

typedef struct {
  u8_t SourceAddress;
  u8_t DestinationAddress;
  u8_t reserved1;
  u8_t reserved2;
  u32_t TxTimeout;
  u32_t RxTimeout;
  u32_t DelayTime;
  u32_t TimeoutTr;
  u32_t TimeoutTh;
  u32_t TimeoutT1;
  u32_t TimeoutT2;
  u32_t TimeoutT3;
  u32_t TimeoutT4;
} Qx_Can_Tp_Config_J1939_Parameters_t;

typedef struct {
  u8_t SourceAddress;
  u8_t TargetAddress;
  u8_t BlockSize;
  u8_t reserved;
  u32_t SourceSetupId;
  u32_t TargetSetupId;
  u32_t SourceChannelId;
  u32_t TargetChannelId;
  u16_t TimeoutT1;
  u16_t TimeoutT2;
  u16_t TimeoutT3;
  u16_t TimeoutT4;
} Qx_Can_Tp_Config_Tp_1_6_Parameters_t;

typedef struct {
  u8_t SourceAddress;
  u8_t TargetAddress;
  u8_t BlockSize;
  Qx_Can_Tp_Config_Tp_2_0_ApplicationType_t ApplicationType;
  u32_t SourceSetupId;
  u32_t TargetSetupId;
  u32_t SourceChannelId;
  u32_t TargetChannelId;
  u16_t TimeoutT1;
  u16_t TimeoutT3;
} Qx_Can_Tp_Config_Tp_2_0_Parameters_t;

/* ISO 15765-2, command form: local and remote ends, times as u32_t, N_Cs.
 * The AddressingFormat_ fields hold QX_CAN__TP__ISO_15765__ADDRESSING_FORMAT__
 * values. Byte 59 belongs to no field. */
typedef struct {
  Qx_Can_Tp_Config_Iso15765_CmdFlags_t Flags;
  u8_t LocalAddress_Physical;
  u8_t RemoteAddress_Physical;
  u8_t LocalAddress_Functional;
  u8_t RemoteAddress_Functional;
  u32_t LocalCanId_Physical;
  u32_t RemoteCanId_Physical;
  u32_t LocalCanId_Functional;
  u32_t RemoteCanId_Functional;
  u8_t AddressingFormat_Physical;
  u8_t AddressingFormat_Functional;
  u8_t BS;
  u8_t STmin;
  u32_t TimeoutAs;
  u32_t TimeoutAr;
  u32_t TimeoutBs;
  u32_t TimeoutCr;
  u32_t TimeBrBetweenFfAndFc;
  u32_t TimeBrBetweenCfAndFc;
  u32_t TimeCs;
  u8_t PaddingByte;
  u8_t TxDl_Physical;
  u8_t TxDl_Functional;
} Qx_Can_Tp_Config_Iso15765_Cmd_t;

#pragma pack(pop)

Qx_Error_t Qx_Can_Tp_Config_GmLan(Qx_PortHandle_t portHandle, u8_t channel,
                                  Qx_Can_Tp_Config_GmLan_Parameters_t const *const parameters);
Qx_Error_t Qx_Can_Tp_Config_IsoTp(Qx_PortHandle_t portHandle, u8_t channel,
                                  Qx_Can_Tp_Config_IsoTp_Parameters_t const *const parameters);
Qx_Error_t Qx_Can_Tp_Config_J1939(Qx_PortHandle_t portHandle, u8_t channel,
                                  Qx_Can_Tp_Config_J1939_Parameters_t const *const parameters);
Qx_Error_t Qx_Can_Tp_Config_Tp_1_6(Qx_PortHandle_t portHandle, u8_t channel,
                                   Qx_Can_Tp_Config_Tp_1_6_Parameters_t const *const parameters);
Qx_Error_t Qx_Can_Tp_Config_Tp_2_0(Qx_PortHandle_t portHandle, u8_t channel,
                                   Qx_Can_Tp_Config_Tp_2_0_Parameters_t const *const parameters);
Qx_Error_t Qx_Can_Tp_Config_Iso15765(Qx_PortHandle_t portHandle, u8_t channel,
                                     Qx_Can_Tp_Config_Iso15765_Cmd_t const *const command);

/* ---- Diagnostic session configuration ---------------------------------------- */

typedef u8_t Qx_Can_Diag_Config_Mode_t;
typedef u32_t Qx_Can_Diag_Config_CmdFlags_t;
typedef u8_t Qx_Can_Diag_TesterPresent_Mode_t;
typedef u8_t Qx_Can_Diag_TesterPresent_RspMode_t;

#pragma pack(push, 4)

/* Timing, repetitions and the tester present of a diagnostic session. The
 * GMLAN, KWP2000 over ISO-TP, UDS over ISO-TP and UDS records share one
 * layout; DataLength is the number of Data bytes the tester present sends. */
typedef struct {
  u16_t P2max;
  u16_t P3max;
  u16_t Repetitions;
  u8_t reserved1;
  u8_t reserved2;
  struct {
    Qx_Can_Diag_TesterPresent_Mode_t Mode;
    Qx_Can_Diag_TesterPresent_RspMode_t ResponseMode;
    u16_t CycleTime;
    u8_t reserved1;
    u8_t reserved2;
    u8_t reserved3;
    u8_t DataLength;
    u8_t Data[8];
  } TesterPresent;
} Qx_Can_Diag_Config_GmLan_Parameters_t;

typedef struct {
  u32_t T1Timeout;
  u32_t T2Timeout;
  u16_t Repetitions;
  u8_t reserved1;
  u8_t reserved2;
  struct {
    Qx_Can_Diag_TesterPresent_Mode_t Mode;
    Qx_Can_Diag_TesterPresent_RspMode_t ResponseMode;
    u8_t DataLength;
    u8_t reserved1;
    u32_t CycleTime;
    u8_t Data[11];
  } TesterPresent;
} Qx_Can_Diag_Config_J1939_Parameters_t;

typedef struct {
  u16_t P2max;
  u16_t P3max;
  u16_t Repetitions;
  u8_t reserved1;
  u8_t reserved2;
  struct {
    Qx_Can_Diag_TesterPresent_Mode_t Mode;
    Qx_Can_Diag_TesterPresent_RspMode_t ResponseMode;
    u16_t CycleTime;
    u8_t reserved1;
    u8_t reserved2;
    u8_t reserved3;
    u8_t DataLength;
    u8_t Data[8];
  } TesterPresent;
} Qx_Can_Diag_Config_Kw2000_IsoTp_Parameters_t;

/* The tester present of KWP2000 over TP 1.6 is its cycle alone. */
typedef struct {
  u16_t P2max;
  u16_t Repetitions;
  u8_t AddressWord;
  u8_t TargetAddress;
  u8_t SourceAddress;
  u8_t reserved1;
  u16_t TesterPresentCycle;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Can_Diag_Config_Kw2000_Tp_1_6_Parameters_t;

typedef struct {
  u16_t P2max;
  u16_t P3max;
  u16_t Repetitions;
  u8_t reserved1;
  u8_t reserved2;
  struct {
    Qx_Can_Diag_TesterPresent_Mode_t Mode;
    Qx_Can_Diag_TesterPresent_RspMode_t ResponseMode;
    u16_t CycleTime;
    u8_t reserved1;
    u8_t reserved2;
    u8_t reserved3;
    u8_t DataLength;
    u8_t Data[8];
  } TesterPresent;
} Qx_Can_Diag_Config_Uds_IsoTp_Parameters_t;

/* ResponseTimeout_78: the time allowed after a "response pending" answer. */
typedef struct {
  u16_t ResponseTimeout;
  u16_t ResponseTimeout_78;
  u16_t Repetitions;
  u8_t reserved1;
  u8_t reserved2;
  struct {
    Qx_Can_Diag_TesterPresent_Mode_t Mode;
    Qx_Can_Diag_TesterPresent_RspMode_t ResponseMode;
    u16_t CycleTime;
    u8_t reserved1;
    u8_t reserved2;
    u8_t reserved3;
    u8_t DataLength;
    u8_t Data[8];
  } TesterPresent;
} Qx_Can_Diag_Config_Uds_Parameters_t;

#pragma pack(pop)

/* modeValue goes with the mode; KWP2000 over TP 2.0 takes its P2max and
 * tester-present cycle as values instead of a record. */
Qx_Error_t Qx_Can_Diag_Config_GmLan(Qx_PortHandle_t portHandle, u8_t channel, Qx_Can_Diag_Config_Mode_t mode,
                                    u32_t modeValue, Qx_Can_Diag_Config_CmdFlags_t flags,
                                    Qx_Can_Diag_Config_GmLan_Parameters_t const *const parameters);
Qx_Error_t Qx_Can_Diag_Config_J1939(Qx_PortHandle_t portHandle, u8_t channel, Qx_Can_Diag_Config_Mode_t mode,
                                    u32_t modeValue, Qx_Can_Diag_Config_CmdFlags_t flags,
                                    Qx_Can_Diag_Config_J1939_Parameters_t const *const parameters);
Qx_Error_t Qx_Can_Diag_Config_Kw2000_IsoTp(Qx_PortHandle_t portHandle, u8_t channel, Qx_Can_Diag_Config_Mode_t mode,
                                           u32_t modeValue, Qx_Can_Diag_Config_CmdFlags_t flags,
                                           Qx_Can_Diag_Config_Kw2000_IsoTp_Parameters_t const *const parameters);
Qx_Error_t Qx_Can_Diag_Config_Kw2000_Tp_1_6(Qx_PortHandle_t portHandle, u8_t channel,
                                            Qx_Can_Diag_Config_Mode_t mode, u32_t modeValue,
                                            Qx_Can_Diag_Config_CmdFlags_t flags,
                                            Qx_Can_Diag_Config_Kw2000_Tp_1_6_Parameters_t const *const parameters);
Qx_Error_t Qx_Can_Diag_Config_Kw2000_Tp_2_0(Qx_PortHandle_t portHandle, u8_t channel,
                                            Qx_Can_Diag_Config_Mode_t mode, u32_t modeValue,
                                            Qx_Can_Diag_Config_CmdFlags_t flags, u16_t p2max,
                                            u16_t testerPresentCycle);
Qx_Error_t Qx_Can_Diag_Config_Uds_IsoTp(Qx_PortHandle_t portHandle, u8_t channel, Qx_Can_Diag_Config_Mode_t mode,
                                        u32_t modeValue, Qx_Can_Diag_Config_CmdFlags_t flags,
                                        Qx_Can_Diag_Config_Uds_IsoTp_Parameters_t const *const parameters);
Qx_Error_t Qx_Can_Diag_Config_Uds(Qx_PortHandle_t portHandle, u8_t channel, Qx_Can_Diag_Config_Mode_t mode,
                                  u32_t modeValue, Qx_Can_Diag_Config_CmdFlags_t flags,
                                  Qx_Can_Diag_Config_Uds_Parameters_t const *const parameters);

/* ---- Diagnostic session state --------------------------------------------------- */

typedef u32_t Qx_Can_Diag_GetState_CmdFlags_t;
typedef u8_t Qx_Can_Diag_State_t;
typedef u8_t Qx_Can_Diag_Type_t;
typedef u32_t Qx_Can_Diag_GetState_RspFlags_t;

/* The state of a channel's session: error code, state, type, flags. */
typedef void (*Qx_Can_Diag_GetState_Async_Callback_t)(Qx_PortHandle_t const, u8_t const, Qx_Error_t const,
                                                      u8_t const, u8_t const, u32_t const);

Qx_Error_t Qx_Can_Diag_GetState(Qx_PortHandle_t portHandle, u8_t channel, Qx_Can_Diag_GetState_CmdFlags_t flags,
                                Qx_Error_t *const diagError, Qx_Can_Diag_State_t *const diagState,
                                Qx_Can_Diag_Type_t *const diagType, Qx_Can_Diag_GetState_RspFlags_t *const rspFlags);
Qx_Error_t Qx_Can_Diag_GetState_Async_AddCallback(Qx_PortHandle_t portHandle, u8_t channel,
                                                  Qx_Can_Diag_GetState_Async_Callback_t const callback);
Qx_Error_t Qx_Can_Diag_GetState_Async_RemoveCallback(Qx_PortHandle_t portHandle, u8_t channel);
Qx_Error_t Qx_Can_Diag_GetState_Async(Qx_PortHandle_t portHandle, u8_t channel,
                                      Qx_Can_Diag_GetState_CmdFlags_t flags);
Qx_Error_t Qx_Can_Diag_Config_Off(Qx_PortHandle_t portHandle, u8_t channel);

#ifdef __cplusplus
}
#endif

#endif
