#!/usr/bin/env python3
"""A tour of the Trovix module _qx_api_trovix.

Opens the on-device communication stack's interface by name and initialises
the stack (after a query that comes too early), configures signals and the
PDUs that carry them, describes a signal, reads its value by handle, writes
a new one and reads it back, describes a PDU and the signals it includes,
and closes the port.

Written against the simulated device. The modules are those of the build of
the interpreter running it (scripts/interpreter.py's use_build), else those
installed for it.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts"))
import interpreter  # noqa: E402

interpreter.use_build()

import _qx_api as qx  # noqa: E402
import _qx_api_common as common  # noqa: E402
import _qx_api_trovix as trovix  # noqa: E402

# Signals of two PDUs, one entry per signal, in the key=value form the
# simulated stack reads: the signal's name, type, bits, default value and
# transmission mode, and the PDU that carries it (its name, ECU, controller,
# Com identifier and the signal's bit position in it).
SIGNALS = ";".join([
    "signal=EngineSpeed,type=7,bits=16,default=800,mode=1,pdu=EngineData,ecu=ECM,controller=1,comid=0x100,bit=8",
    "signal=CoolantTemp,type=6,bits=8,default=40,mode=1,pdu=EngineData,ecu=ECM,controller=1,comid=0x100,bit=24",
    "signal=GearPosition,type=6,bits=4,mode=2,pdu=Transmission,ecu=TCM,controller=1,comid=0x101,bit=0",
])


def names(prefix):
    """The module's constants of one family, by value."""
    return {getattr(trovix, name): name[len(prefix):] for name in dir(trovix) if name.startswith(prefix)}


SIGNAL_TYPES = names("QX_TROVIX__SIGNAL__TYPE__")
BUS_TYPES = names("QX_TROVIX__BUS_TYPE__")


def describe_signal(port, handle):
    info = trovix.Qx_Trovix_Signal_GetSignalInfo(port, handle)  # a record of its own, freed below
    try:
        internal = trovix.Qx_Trovix_SignalInfo_t_Internal_get(info)
        print("  handle {}: {}, a {} signal of {} bytes, default {}, range {} to {}".format(
            handle, trovix.Qx_Trovix_SignalInfo_t_Name_get(info),
            SIGNAL_TYPES.get(trovix.Qx_Trovix_SignalInfo_t_Internal_Type_get(internal), "unknown"),
            trovix.Qx_Trovix_SignalInfo_t_Internal_Size_get(internal),
            trovix.Qx_Trovix_SignalInfo_t_Internal_DefaultValue_get(internal),
            trovix.Qx_Trovix_SignalInfo_t_Internal_MinValue_get(internal),
            trovix.Qx_Trovix_SignalInfo_t_Internal_MaxValue_get(internal)))
    finally:
        trovix.delete_Qx_Trovix_SignalInfo_t(info)


def read_signal(port, handle, value):
    """Reads the signal's internal value into the int_p `value` (room for 4
    bytes, little-endian) and prints it."""
    qx.int_p_assign(value, 0)
    flags, size = trovix.Qx_Trovix_Signal_Read(port, trovix.QX_TROVIX__SIGNAL__READ__MODE__INTERNAL, 0, handle,
                                               4, value)
    print(f"  read {qx.int_p_value(value)} ({size} bytes, response flags 0x{flags:X})")


def write_signal(port, handle, value, number, size):
    qx.int_p_assign(value, number)
    trovix.Qx_Trovix_Signal_Write(port, trovix.QX_TROVIX__SIGNAL__WRITE__MODE__INTERNAL, 0, handle, size, value)
    print(f"  wrote {number} ({size} bytes)")


def describe_pdu(port, pdu_name, ecu_name, controller):
    info = trovix.new_Qx_Trovix_PduInfo_t()
    first = trovix.new_Qx_Trovix_Pdu_IncludedSignal_t()
    try:
        trovix.Qx_Trovix_Pdu_PduInfo_Get(port, pdu_name, ecu_name, controller, info)
        print("  {} of ECU {}: controller {}, Com identifier 0x{:X}, bus {}".format(
            trovix.Qx_Trovix_PduInfo_t_PduName_get(info), trovix.Qx_Trovix_PduInfo_t_EcuName_get(info),
            trovix.Qx_Trovix_PduInfo_t_ControllerId_get(info), trovix.Qx_Trovix_PduInfo_t_ComId_get(info),
            BUS_TYPES.get(trovix.Qx_Trovix_PduInfo_t_BusType_get(info), "unknown")))
        # `first` has room for one description: the stack fills that one and
        # counts all the PDU's signals
        count = trovix.Qx_Trovix_Pdu_IncludedSignals_Get2(port, info, first)
        print("  it includes {} signals, the first {} at bit {}".format(
            count, trovix.Qx_Trovix_Pdu_IncludedSignal_t_Name_get(first),
            trovix.Qx_Trovix_Pdu_IncludedSignal_t_BitPosition_get(first)))
    finally:
        trovix.delete_Qx_Trovix_Pdu_IncludedSignal_t(first)
        trovix.delete_Qx_Trovix_PduInfo_t(info)


def main():
    print("Opening the interface named TROVIX1")
    port = common.Qx_Common_OpenInterface("TROVIX1")
    print(f"  port handle 0x{port:08X}")
    try:
        trovix.Qx_Trovix_Signal_GetNumberOfSignals(port)
    except Exception as error:
        print("  asking for its signals first is refused:", error)
    trovix.Qx_Trovix_InitInterface(port, 0)
    print("  the stack is initialised")
    print()

    print("Configuring the signals")
    trovix.Qx_Trovix_Signal_Config(port, SIGNALS)
    count = qx.new_int_p()
    try:
        trovix.Qx_Trovix_Pdu_NumberOfPdus_Get(port, count)
        print(f"  the stack knows {trovix.Qx_Trovix_Signal_GetNumberOfSignals(port)} signals "
              f"in {qx.int_p_value(count)} PDUs")
    finally:
        qx.delete_int_p(count)
    print()

    print("Signal EngineSpeed")
    handle = trovix.Qx_Trovix_Signal_GetSignalHandle(port, "EngineSpeed")
    describe_signal(port, handle)
    value = qx.new_int_p()
    try:
        read_signal(port, handle, value)
        write_signal(port, handle, value, 2500, 2)
        read_signal(port, handle, value)
        try:
            read_signal(port, 9, value)
        except Exception as error:
            print("  reading handle 9 is refused:", error)
    finally:
        qx.delete_int_p(value)
    print()

    print("PDU EngineData")
    describe_pdu(port, "EngineData", "ECM", 1)
    try:
        describe_pdu(port, "EngineData", "TCM", 1)
    except Exception as error:
        print("  asking for it from ECU TCM is refused:", error)
    print()

    common.Qx_Common_CloseInterface(port)
    print(f"Closed port 0x{port:08X}")


if __name__ == "__main__":
    main()
