/* Module _qx_storage: storage that a script makes for the four modules'
 * pointer arguments and members (byte buffers, arrays, value cells), in the
 * shapes of SWIG's library. It binds no native library; it joins the type
 * table the four modules share, so that they accept its objects by type. */
%module qx_storage

%{
#include "qx_api_common.h"
#include "qx_api_trovix.h"
#include "qx_api_trovix_signal.h"
%}

/* The shared rules (this module has no list rules; their wording is
 * plain). */
#define QX_WORDING_PLAIN
%include "qx_rules.i"
%include "qx_storage_rules.i"

/* Which native type follows which rule in this module, and the storage
 * made for it. The types are known by name only (api/qx_types.h is not
 * shown to SWIG), so each object is of the pointer type the four modules
 * declare: u8_t * (_p_u8_t), float64_t * (_p_float64_t), ... Every value is
 * checked against its own type. */
QX_CHECKED_UNSIGNED(u8_t)
QX_CHECKED_UNSIGNED(u16_t)
QX_CHECKED_UNSIGNED(u32_t)
QX_CHECKED_UNSIGNED(u64_t)
QX_CHECKED_SIGNED(s32_t, INT32_MIN, INT32_MAX)
QX_CHECKED_SIGNED(s64_t, INT64_MIN, INT64_MAX)
QX_CHECKED_FLOAT(float, FLT_MAX)
QX_CHECKED_FLOAT(float64_t, DBL_MAX)
QX_CHECKED_UNSIGNED(size_t)
QX_CHECKED_UNSIGNED(Qx_Error_t)
QX_CHECKED_UNSIGNED(Qx_Common_EventHandle_t)
QX_CHECKED_ENUM(Qx_Trovix_SoAd_SoCon_State_t)

/* Arrays and cells of the element types that the four modules take only
 * through pointer objects. */
QX_STORAGE_ARRAY(u8_t, u8_array)
QX_STORAGE_CELL(u8_t, u8_p)
QX_STORAGE_ARRAY(u16_t, u16_array)
QX_STORAGE_CELL(u16_t, u16_p)
QX_STORAGE_ARRAY(u32_t, u32_array)
QX_STORAGE_CELL(u32_t, u32_p)
QX_STORAGE_ARRAY(u64_t, u64_array)
QX_STORAGE_CELL(u64_t, u64_p)
QX_STORAGE_ARRAY(s32_t, s32_array)
QX_STORAGE_CELL(s32_t, s32_p)
QX_STORAGE_ARRAY(s64_t, s64_array)
QX_STORAGE_CELL(s64_t, s64_p)
QX_STORAGE_ARRAY(float, float_array)
QX_STORAGE_CELL(float, float_p)
QX_STORAGE_ARRAY(float64_t, float64_array)
QX_STORAGE_CELL(float64_t, float64_p)

/* Cells of the status, state and handle types the modules take by pointer.
 * _qx_api_common knows Qx_Error_t as a type of its own (the other modules
 * as a spelling of u32_t: a u32_p or an int_p serves them) and merges
 * Qx_Common_EventHandle_t with size_t: a size_p is its event handle.
 * _qx_api_can knows Qx_Common_EventHandle_t by that name only: a
 * Qx_Common_EventHandle_p is its event handle. Neither module accepts the
 * other's (a handle travels between them as its value). */
QX_STORAGE_CELL(Qx_Error_t, Qx_Error_p)
QX_STORAGE_CELL(size_t, size_p)
QX_STORAGE_CELL(Qx_Common_EventHandle_t, Qx_Common_EventHandle_p)
/* The state of a Trovix socket connection (Qx_Trovix_SoAd_SoCon_GetState). */
QX_STORAGE_CELL(Qx_Trovix_SoAd_SoCon_State_t, Qx_Trovix_SoAd_SoCon_State_p)

/* The cell of a Trovix signal block (Qx_Trovix_SignalBlock_Config stores
 * the block's address in it, Qx_Trovix_SignalBlock_Delete clears it), and
 * the block object the other signal-block bindings take. */
typedef struct Qx_Trovix_SignalBlock Qx_Trovix_SignalBlock_t;  /* as _qx_api_trovix knows it */
QX_STORAGE_ADDRESS_CELL(Qx_Trovix_SignalBlock_t, Qx_Trovix_SignalBlock_pp)

/* Arrays of the records that the four modules' bindings take several of
 * beside a count, for each library built (generated from its
 * api/<key>/params.txt). */
%include "qx_storage_records.i"

/* Bytes in and out of any of these objects (or any other pointer object). */
QX_STORAGE_BYTES
