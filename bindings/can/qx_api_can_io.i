/*
 * _qx_api_can: triggers, command and UART gateways and the transmit trace
 * (qx_api_can_io.h). %included by qx_api_can.i; the module's type table and
 * its generated parameter shapes (api/can/params.txt: message blocks beside
 * their count) apply here.
 *
 * Rules that SWIG's defaults give here:
 *  - The member records declared inside their parents (Id and Data of the
 *    trigger output parameters) have a getter only, a view into the parent
 *    through which their fields are set.
 *  - Record arguments, response records, the trace handle and the u32_t
 *    property cells take a pointer object of their type (an int_p for a
 *    u32_t cell) or None (NULL): the native side writes into the caller's
 *    object, and the binding returns None.
 */

%{
#include "qx_api_can_io.h"
%}

%include "qx_api_can_io.h"
