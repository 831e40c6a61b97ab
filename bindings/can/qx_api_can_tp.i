/*
 * _qx_api_can: transport protocols and diagnostic sessions
 * (qx_api_can_tp.h). %included by qx_api_can.i after the node configuration;
 * the module's type table and its generated parameter shapes apply here as
 * well (api/can/params.txt: broadcast bytes sent from a 64-byte buffer and
 * read into a list of at most the capacity given, the four values of the
 * diagnostic state appended to the result).
 *
 * Rules that SWIG's defaults give here:
 *  - Records declared in place (the USDT and UUDT members of the GMLAN
 *    parameters, the TesterPresent members of the diagnostic parameters) are
 *    classes of their own; the parent has a getter alone, which returns a
 *    view into the parent.
 *  - The channel cell of Qx_Can_Tp_GetChannel (`u8_t *const`) and every
 *    record argument `R const *const` are pointer objects supplied by the
 *    caller; None passes NULL.
 *  - Callbacks take None or a native function pointer of their exact type.
 */

%{
#include "qx_api_can_tp.h"
%}

%include "qx_api_can_tp.h"
