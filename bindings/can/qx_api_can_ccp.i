/*
 * _qx_api_can: the CCP master (qx_api_can_ccp.h). %included by qx_api_can.i
 * after the node configuration; the module's type table and its generated
 * parameter shapes (api/can/params.txt) apply here: command data of the
 * download and program commands in 64-byte buffers, the flags and messages
 * of the queue readers appended to the result, the UNLOCK privilege status
 * appended as an int, and the response records of GetResponse,
 * CommandWithResponse, GetCcpErrorDescription, EXCHANGE_ID and GET_SEED
 * returned as new owned records that start zeroed.
 *
 * Rules that SWIG's defaults give here:
 *  - the identification data, key, service parameters and upload
 *    destinations are u8_t pointer objects (or None), passed as they are;
 *  - every other response record is the caller's record object (or None),
 *    filled in place;
 *  - Qx_Can_Ccp_GetCcpErrorDescription takes no argument and returns
 *    [text, record], or the record alone where the text is NULL.
 */

%{
#include "qx_api_can_ccp.h"
%}

%include "qx_api_can_ccp.h"
