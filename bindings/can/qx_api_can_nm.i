/*
 * _qx_api_can: OSEK and AUTOSAR network management, NM node lists and
 * groups, and the transmit table (qx_api_can_nm.h). %included by
 * qx_api_can.i; the module's type table and its generated parameter shapes
 * (api/can/params.txt: the AUTOSAR node state appended as three ints, the
 * two 8-byte arrays of Qx_Can_Nm_Config_SetData, node lists of u8_t pointer
 * objects, item blocks beside their count) apply here.
 *
 * Rules that SWIG's defaults give here:
 *  - The member records declared inside their parents (Range, ProtocolBits,
 *    RingStableBit, Times, PduData) have a getter only, a view into the
 *    parent through which their fields are set.
 *  - Record arguments `R const *const` and the output cells of
 *    Qx_Can_Tar_GetState and the u8_t inputs of Qx_Can_Tar_Config_Standard
 *    take a pointer object of their type or None (NULL), which the caller
 *    keeps and reads.
 */

%{
#include "qx_api_can_nm.h"
%}

%include "qx_api_can_nm.h"
