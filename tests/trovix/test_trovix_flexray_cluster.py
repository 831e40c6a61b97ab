"""Trovix FlexRay interface: cluster and controller configuration with the
records Qx_Trovix_FlexRayIf_Cluster_Config_Parameters_t and
Qx_Trovix_FlexRayIf_Controller_Config_Parameters_t."""
import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

CLUSTER = "Qx_Trovix_FlexRayIf_Cluster_Config_Parameters_t"
CONTROLLER = "Qx_Trovix_FlexRayIf_Controller_Config_Parameters_t"
CHAB = tv.QX_TROVIX__FLEXRAY_IF__CHANNEL__CHAB
WIDTH = {"u8": 0xFF, "u16": 0xFFFF, "u32": 0xFFFFFFFF}
MEMBERS = [(name, field) for name in (CLUSTER, CONTROLLER) for field in layouts.record(name).fields]


def declared(name, field):
    if name == CONTROLLER and field == "Flags":
        return "Qx_Trovix_FlexRayIf_Controller_Config_Flags_t"
    return layouts.record(name).fields[field].type + "_t"


def distinct_values(name, **overrides):
    """Every member of record `name` holding a value of its own, each byte of
    it set (0x01010101 * position, cut to the member's width)."""
    fields = layouts.record(name).fields
    values = {f: (0x01010101 * (i + 1)) & WIDTH[fields[f].type] for i, f in enumerate(fields)}
    values.update(overrides)
    return values


def read_all(name, record):
    return {f: getattr(tv, f"{name}_{f}_get")(record) for f in layouts.record(name).fields}


@pytest.fixture
def cluster(tport):
    """Cluster 1 configured on the initialised port."""
    tv.Qx_Trovix_FlexRayIf_Cluster_Config(tport, qxtest.new_record(tv, CLUSTER, ClusterId=1))
    return tport


# ---- records -------------------------------------------------------------------

@pytest.mark.parametrize("name, size", [(CLUSTER, 36), (CONTROLLER, 44)])
def test_fresh_record_reads_zero_from_every_member(name, size):
    assert layouts.size(name) == size
    assert read_all(name, qxtest.new_record(tv, name)) == layouts.unpack(name, bytes(size))


@pytest.mark.parametrize("name, field", MEMBERS)
def test_each_setter_writes_its_member_alone_truncated_to_its_width(name, field):
    values = distinct_values(name)
    record = qxtest.new_record(tv, name, **values)
    setter = getattr(tv, f"{name}_{field}_set")
    setter(record, 2**32 - 1)
    values[field] = WIDTH[layouts.record(name).fields[field].type]
    assert read_all(name, record) == values
    message = f"in method '{name}_{field}_set', argument 2 of type '{declared(name, field)}'"
    for bad, exc in ((-1, OverflowError), (2**32, OverflowError), (1.5, TypeError), ("1", TypeError)):
        with qxtest.raises_exactly(exc, message):
            setter(record, bad)
    assert read_all(name, record) == values


@pytest.mark.parametrize("name", [CLUSTER, CONTROLLER])
def test_accessors_name_the_record_pointer_as_argument_1(name):
    field = next(iter(layouts.record(name).fields))
    for suffix, args in (("set", (1,)), ("get", ())):
        with qxtest.raises_exactly(TypeError, f"in method '{name}_{field}_{suffix}', argument 1 of type '{name} *'"):
            getattr(tv, f"{name}_{field}_{suffix}")(qxtest.new_record(tv, "Qx_Trovix_CanIf_Controller_Config_t"), *args)


# ---- bindings: the records reach the library byte for byte ------------------------

@pytest.mark.parametrize("binding, name, overrides", [
    ("Qx_Trovix_FlexRayIf_Cluster_Config", CLUSTER, {"gChannel": CHAB}),
    ("Qx_Trovix_FlexRayIf_Controller_Config", CONTROLLER,
     {"ClusterId": 1, "pChannels": CHAB, "pWakeupChannel": 1}),
])
def test_record_reaches_the_library_as_laid_out(sim, cluster, binding, name, overrides):
    values = distinct_values(name, **overrides)
    record = qxtest.new_record(tv, name, **values)
    assert getattr(tv, binding)(cluster, record) is None
    call = sim.last(binding)
    assert call.arg(1).value == cluster
    assert call.arg(2).bytes == layouts.pack(name, **values)
    assert read_all(name, record) == values


# ---- arguments refused before the call ---------------------------------------------

@pytest.mark.parametrize("binding, args, exc, message", [
    ("Qx_Trovix_FlexRayIf_Cluster_Config", (qxtest.new_record(tv, "Qx_Trovix_FlexRayIf_Controller_Config_Parameters_t"),), TypeError,
     "in method 'Qx_Trovix_FlexRayIf_Cluster_Config', argument 2 of type "
     "'Qx_Trovix_FlexRayIf_Cluster_Config_Parameters_t const *const'"),
    ("Qx_Trovix_FlexRayIf_Controller_Config", (qxtest.new_record(tv, "Qx_Trovix_FlexRayIf_Cluster_Config_Parameters_t"),), TypeError,
     "in method 'Qx_Trovix_FlexRayIf_Controller_Config', argument 2 of type "
     "'Qx_Trovix_FlexRayIf_Controller_Config_Parameters_t const *const'"),
    ("Qx_Trovix_FlexRayIf_Controller_Config", (7,), TypeError,
     "in method 'Qx_Trovix_FlexRayIf_Controller_Config', argument 2 of type "
     "'Qx_Trovix_FlexRayIf_Controller_Config_Parameters_t const *const'"),
    ("Qx_Trovix_FlexRayIf_Cluster_Config", (None, None), TypeError,
     "Qx_Trovix_FlexRayIf_Cluster_Config expected 2 arguments, got 3"),
    ("Qx_Trovix_FlexRayIf_Controller_Config", (), TypeError,
     "Qx_Trovix_FlexRayIf_Controller_Config expected 2 arguments, got 1"),
])
def test_arguments_refused_before_the_call(sim, tport, binding, args, exc, message):
    with qxtest.raises_exactly(exc, message):
        getattr(tv, binding)(tport, *args)
    assert sim.calls(binding) == 0


@pytest.mark.parametrize("binding", ["Qx_Trovix_FlexRayIf_Cluster_Config", "Qx_Trovix_FlexRayIf_Controller_Config"])
@pytest.mark.parametrize("port, exc", [("1", TypeError), (-1, OverflowError), (2**32, OverflowError)])
def test_port_is_converted_before_the_record_is_looked_at(sim, binding, port, exc):
    with qxtest.raises_exactly(exc, f"in method '{binding}', argument 1 of type 'Qx_PortHandle_t'"):
        getattr(tv, binding)(port, "not a record")
    assert sim.calls(binding) == 0


@pytest.mark.parametrize("binding, what", [("Qx_Trovix_FlexRayIf_Cluster_Config", "cluster parameters"),
                                           ("Qx_Trovix_FlexRayIf_Controller_Config", "controller parameters")])
def test_none_passes_a_null_record_and_the_status_decides(sim, tport, binding, what):
    with qxtest.raises_exactly(Exception, f"{binding}: no {what} given"):
        getattr(tv, binding)(tport, None)
    assert sim.last(binding).arg(2).is_null


def test_failure_carries_the_library_text_and_keeps_the_record(sim, cluster):
    record = qxtest.new_record(tv, CONTROLLER, ClusterId=1, pMicroPerCycle=200000)
    sim.fail("Qx_Trovix_FlexRayIf_Controller_Config", text=b"FrIf refused")
    with qxtest.raises_exactly(Exception, "FrIf refused"):
        tv.Qx_Trovix_FlexRayIf_Controller_Config(cluster, record)
    assert tv.Qx_Trovix_FlexRayIf_Controller_Config_Parameters_t_pMicroPerCycle_get(record) == 200000


# ---- the simulated stack -------------------------------------------------------------

def test_clusters_are_keyed_by_cluster_id_and_controllers_need_theirs(tport):
    configure = tv.Qx_Trovix_FlexRayIf_Cluster_Config
    controller = qxtest.new_record(tv, CONTROLLER, ClusterId=2, ControllerId=5)
    with qxtest.raises_exactly(Exception, "Qx_Trovix_FlexRayIf_Controller_Config: cluster 2 is not configured"):
        tv.Qx_Trovix_FlexRayIf_Controller_Config(tport, controller)
    for cluster_id in (1, 2, 2):                    # the same cluster again replaces it
        configure(tport, qxtest.new_record(tv, CLUSTER, ClusterId=cluster_id))
    tv.Qx_Trovix_FlexRayIf_Controller_Config(tport, controller)
    with qxtest.raises_exactly(Exception, "Qx_Trovix_FlexRayIf_Cluster_Config: the cluster table is full (2 entries)"):
        configure(tport, qxtest.new_record(tv, CLUSTER, ClusterId=3))


def test_controllers_are_keyed_by_controller_id(cluster):
    for controller_id in (0, 1, 2, 3, 3):
        tv.Qx_Trovix_FlexRayIf_Controller_Config(
            cluster, qxtest.new_record(tv, CONTROLLER, ClusterId=1, ControllerId=controller_id))
    with qxtest.raises_exactly(Exception,
                               "Qx_Trovix_FlexRayIf_Controller_Config: the controller table is full (4 entries)"):
        tv.Qx_Trovix_FlexRayIf_Controller_Config(cluster, qxtest.new_record(tv, CONTROLLER, ClusterId=1, ControllerId=4))


@pytest.mark.parametrize("binding, name, member", [
    ("Qx_Trovix_FlexRayIf_Cluster_Config", CLUSTER, "gChannel"),
    ("Qx_Trovix_FlexRayIf_Controller_Config", CONTROLLER, "pChannels"),
    ("Qx_Trovix_FlexRayIf_Controller_Config", CONTROLLER, "pWakeupChannel"),
])
def test_channel_bytes_beyond_both_channels_are_refused(cluster, binding, name, member):
    record = qxtest.new_record(tv, name, ClusterId=1, **{member: CHAB + 1})
    with qxtest.raises_exactly(Exception, f"{binding}: unknown {member} 3"):
        getattr(tv, binding)(cluster, record)


def test_an_uninitialised_stack_refuses_the_configuration(trovix_port):
    with qxtest.raises_exactly(Exception, f"Qx_Trovix_FlexRayIf_Cluster_Config: the Trovix interface of port "
                                          f"0x{trovix_port:08X} is not initialised"):
        tv.Qx_Trovix_FlexRayIf_Cluster_Config(trovix_port, qxtest.new_record(tv, "Qx_Trovix_FlexRayIf_Cluster_Config_Parameters_t"))
