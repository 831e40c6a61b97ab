/*
 * _qx_api_can: node configuration and the cyclic message engine
 * (qx_api_can_node.h). %included by qx_api_can.i after the module's own
 * declarations; the module's type table (u8_t, u16_t and u32_t as ints,
 * double from a float or an int, byte lists in 64-byte buffers, u8_t arrays
 * from lists) applies here as well.
 *
 * Rules that SWIG's defaults give here:
 *  - Qx_Common_Signal_t, known to this module by name only: an argument
 *    `Qx_Common_Signal_t const` takes a record object made by _qx_api_common
 *    and passes a copy (None: ValueError "invalid null reference ...");
 *    a Signal member is set by copying such a record and read as a new
 *    owned copy, never a view.
 *  - float64_t (Increment) has no numeric conversion: set from a float64_t
 *    pointer object (8 bytes copied), read as a new owned 8-byte copy.
 *  - Pointer members (UserBytesBefore, UserBytesAfter, DataArray, SyncRamp)
 *    store the address of the object given and take its ownership away;
 *    the getter returns a non-owning object, None for NULL.
 *  - Record arguments `R const *const` take a record object or None (NULL),
 *    which stays owned by the caller.
 */

/* The data member of the cyclic message state: a view to read, a whole
 * Qx_Can_Data_t record copied in to write. */
QX_NESTED_MEMBER_BY_COPY(Qx_Can_Data_t)

/* Scalar outputs, appended to the result as ints. */
%apply u32_t *QX_OUTPUT {
  u32_t *registerValue,
  u32_t *errorFrameCounter,
  u32_t *busIdleTime
};

/* Response records, returned as new owned records that start zeroed. */
QX_RECORD_OUTPUT(Qx_Can_CyclicMsgs_Property_GetById_Rsp_t)
%apply Qx_Can_CyclicMsgs_Property_GetById_Rsp_t *QX_RECORD_OUTPUT {
  Qx_Can_CyclicMsgs_Property_GetById_Rsp_t *const response
};
QX_RECORD_OUTPUT(Qx_Can_Node_Baudrate_ActualValues_t)
%apply Qx_Can_Node_Baudrate_ActualValues_t *QX_RECORD_OUTPUT {
  Qx_Can_Node_Baudrate_ActualValues_t *actualValues
};
QX_RECORD_OUTPUT(Qx_Can_Node_BaudrateFd_Set_Rsp_t)
%apply Qx_Can_Node_BaudrateFd_Set_Rsp_t *QX_RECORD_OUTPUT {
  Qx_Can_Node_BaudrateFd_Set_Rsp_t *response
};
QX_RECORD_OUTPUT(Qx_Can_Node_BaudrateFd_Get_Rsp_t)
%apply Qx_Can_Node_BaudrateFd_Get_Rsp_t *QX_RECORD_OUTPUT {
  Qx_Can_Node_BaudrateFd_Get_Rsp_t *response
};
QX_RECORD_OUTPUT(Qx_Can_Node_GetState_Rsp_t)
%apply Qx_Can_Node_GetState_Rsp_t *QX_RECORD_OUTPUT {
  Qx_Can_Node_GetState_Rsp_t *response
};
QX_RECORD_OUTPUT(Qx_Can_Node_FdState_Get_Rsp_t)
%apply Qx_Can_Node_FdState_Get_Rsp_t *QX_RECORD_OUTPUT {
  Qx_Can_Node_FdState_Get_Rsp_t *response
};
QX_RECORD_OUTPUT(Qx_Can_Node_Property_GetById_Rsp_t)
%apply Qx_Can_Node_Property_GetById_Rsp_t *QX_RECORD_OUTPUT {
  Qx_Can_Node_Property_GetById_Rsp_t *response
};
QX_RECORD_OUTPUT(Qx_Can_CyclicMsgs_GetMsgState_Rsp_t)
%apply Qx_Can_CyclicMsgs_GetMsgState_Rsp_t *QX_RECORD_OUTPUT {
  Qx_Can_CyclicMsgs_GetMsgState_Rsp_t *const response
};

/* Message data and masks of the cyclic messages: up to 64 bytes in a 64-byte
 * buffer (`msgData` follows the module's rule already). */
QX_BYTE_LIST_TO_STACK_BUFFER(u8_t const *const msgMask)

/* The ramps whose mode changes: as many records as the count says. */
QX_RECORDS_BESIDE_COUNT(Qx_Can_CyclicMsgs_Ramp_ChangeMode_Ramps_t, u32_t numberOfRamps,
                        Qx_Can_CyclicMsgs_Ramp_ChangeMode_Ramps_t const *const ramps)

%include "qx_api_can_node.h"
