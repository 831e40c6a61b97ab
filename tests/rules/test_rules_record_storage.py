"""Storage that a pointer object designates: an object that owns its storage
holds a single element or record, so a binding that would read or write
several through it refuses it; a view designates whatever it points into."""
import pytest

import _qx_api as q
import qxtest


@pytest.fixture
def data(qxt):
    d = qxtest.new_record(q, "Qx_Data_t")
    q.Qx_Data_t_U8_set(d, qxt.qxt_u8_array([9] * 8))
    yield d
    q.delete_Qx_Data_t(d)


def owned_u16_copy():
    info = qxtest.new_record(q, "Qx_InterfaceInfo_t")
    copy = q.Qx_InterfaceInfo_t_Parameters_Flags_get(q.Qx_InterfaceInfo_t_Parameters_get(info))
    q.delete_Qx_InterfaceInfo_t(info)
    return copy


@pytest.mark.parametrize("setter, make, type_", [
    (q.Qx_Data_t_U32_set, q.new_int_p, "u32_t [2]"),    # an int_p is one u32_t cell
    (q.Qx_Data_t_U16_set, owned_u16_copy, "u16_t [4]"),  # a getter's owned copy of one u16_t
])
def test_array_setter_refuses_an_object_owning_one_element(data, setter, make, type_):
    source = qxtest.owned(make())
    with pytest.raises(ValueError) as e:
        setter(data, source)
    assert str(e.value) == (f"single element given for an array in method '{setter.__name__}', "
                            f"argument 2 of type '{type_}'")
    assert q.Qx_Data_t_U8_get(data) == [9] * 8
    assert source.own()  # the refused object keeps its storage

