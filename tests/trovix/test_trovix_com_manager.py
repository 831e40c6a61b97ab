"""Communication manager: users with their bus mappings, the user list and
identifiers, communication modes; the records
Qx_Trovix_ComManager_User_Config_Mappings_t and Qx_Trovix_ComManager_User_t."""
import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

import _qx_api as base  # noqa: E402

MAPPING = "Qx_Trovix_ComManager_User_Config_Mappings_t"
USER = "Qx_Trovix_ComManager_User_t"


@pytest.fixture
def cell():
    made = qxtest.new_record(base, "int_p")
    yield made
    base.delete_int_p(made)


@pytest.fixture
def user(tport, cell):
    """The id of user "Diag", configured with one CAN mapping."""
    mapping = qxtest.new_record(tv, MAPPING, BusType=tv.QX_TROVIX__BUS_TYPE__CAN, ControllerId=2, EcuId=0x1FF)
    tv.Qx_Trovix_ComManager_User_Config(tport, 0, "Diag", 1, mapping, cell)
    return base.int_p_value(cell)


def test_user_config_passes_name_mappings_and_the_callers_id_cell(sim, tport, user, cell):
    call = sim.last("Qx_Trovix_ComManager_User_Config")
    assert (call.arg(3).text, call.arg(4).value, call.arg(6).value) == (b"Diag", 1, int(cell))
    assert layouts.unpack(MAPPING, call.arg(5).bytes) == {"BusType": 0, "ControllerId": 2, "EcuId": 0xFF, "reserved": 0}
    assert user == 100


def test_user_config_refuses_another_record_type_before_the_call(sim, tport, cell):
    with qxtest.raises_exactly(TypeError, "in method 'Qx_Trovix_ComManager_User_Config', argument 5 of type "
                                          "'Qx_Trovix_ComManager_User_Config_Mappings_t const *const'"):
        tv.Qx_Trovix_ComManager_User_Config(tport, 0, "Diag", 1, qxtest.new_record(tv, "Qx_Trovix_ComManager_User_t"), cell)
    assert sim.calls("Qx_Trovix_ComManager_User_Config") == 0


def test_user_config_refuses_one_owned_mapping_for_several(sim, tport, cell):
    with qxtest.raises_exactly(ValueError, "single record given for several in method 'Qx_Trovix_ComManager_User_Config', "
                                           "argument 5 of type 'Qx_Trovix_ComManager_User_Config_Mappings_t const *const'"):
        tv.Qx_Trovix_ComManager_User_Config(tport, 0, "Diag", 3, qxtest.new_record(tv, "Qx_Trovix_ComManager_User_Config_Mappings_t"), cell)
    assert sim.calls("Qx_Trovix_ComManager_User_Config") == 0


def test_user_list_count_and_ids_land_in_the_callers_storage(sim, tport, user, cell):
    tv.Qx_Trovix_ComManager_User_Config(tport, 0, "Logger", 0, None, cell)
    count = qxtest.new_record(base, "int_p")
    assert tv.Qx_Trovix_ComManager_NumberOfUsers_Get(tport, count) is None
    assert base.int_p_value(count) == 2
    base.int_p_assign(count, 1)
    listed = qxtest.new_record(tv, "Qx_Trovix_ComManager_User_t")
    assert tv.Qx_Trovix_ComManager_UserList_Get(tport, count, listed) is None
    assert (tv.Qx_Trovix_ComManager_User_t_Name_get(listed), tv.Qx_Trovix_ComManager_User_t_UserId_get(listed)) == ("Diag", 100)
    base.int_p_assign(count, 2)
    with qxtest.raises_exactly(ValueError, "single record given for several in method 'Qx_Trovix_ComManager_UserList_Get', "
                                           "argument 3 of type 'Qx_Trovix_ComManager_User_t *const'"):
        tv.Qx_Trovix_ComManager_UserList_Get(tport, count, listed)
    assert tv.Qx_Trovix_ComManager_UserId_Get(tport, "Logger", cell) is None
    assert base.int_p_value(cell) == 101
    base.delete_int_p(count)


def test_user_id_of_an_unknown_name_and_a_non_text(sim, tport, cell):
    with qxtest.raises_exactly(Exception, "Qx_Trovix_ComManager_UserId_Get: no user named 'Nobody'"):
        tv.Qx_Trovix_ComManager_UserId_Get(tport, "Nobody", cell)
    with qxtest.raises_exactly(TypeError, "in method 'Qx_Trovix_ComManager_UserId_Get', argument 2 of type 'char const *const'"):
        tv.Qx_Trovix_ComManager_UserId_Get(tport, 7, cell)


def test_reset_user_buffer_takes_the_port_alone(sim, tport, user, cell):
    assert tv.Qx_Trovix_ComManager_ResetUserBuffer(tport) is None
    assert sim.last("Qx_Trovix_ComManager_ResetUserBuffer").arg(1).value == tport
    tv.Qx_Trovix_ComManager_NumberOfUsers_Get(tport, cell)
    assert base.int_p_value(cell) == 0
    with pytest.raises(TypeError) as info:
        tv.Qx_Trovix_ComManager_ResetUserBuffer(tport, 0)
    assert "takes exactly one argument" in str(info.value)
    with qxtest.raises_exactly(TypeError, "in method 'Qx_Trovix_ComManager_ResetUserBuffer', argument 1 of type 'Qx_PortHandle_t'"):
        tv.Qx_Trovix_ComManager_ResetUserBuffer("port")


def test_requested_mode_becomes_current(sim, tport, user, qxt):
    mode = qxt.qxt_u8_array([0xEE])
    tv.Qx_Trovix_ComManager_ComMode_GetCurrent(tport, user, mode)
    assert qxt.qxt_read_u8(mode, 1) == [tv.QX_TROVIX__COM_MANAGER__COM_MODE__NO_COMMUNICATION]
    assert tv.Qx_Trovix_ComManager_ComMode_Request(tport, 9, user, 259) is None   # 259 reaches the library as 3
    call = sim.last("Qx_Trovix_ComManager_ComMode_Request")
    assert [call.arg(i).value for i in (2, 3, 4)] == [9, user, 3]
    for binding in ("Qx_Trovix_ComManager_ComMode_GetCurrent", "Qx_Trovix_ComManager_ComMode_GetRequested"):
        getattr(tv, binding)(tport, user, mode)
        assert qxt.qxt_read_u8(mode, 1) == [tv.QX_TROVIX__COM_MANAGER__COM_MODE__FULL_COMMUNICATION]
        assert sim.last(binding).arg(3).value == int(mode)


def test_mode_of_an_unknown_user_raises_the_library_text(sim, tport, qxt):
    with qxtest.raises_exactly(Exception, "Qx_Trovix_ComManager_ComMode_Request: unknown user 5"):
        tv.Qx_Trovix_ComManager_ComMode_Request(tport, 0, 5, 1)


@pytest.mark.parametrize("binding, args, exc, message", [
    ("Qx_Trovix_ComManager_ComMode_Request", (0, 1, 2**32), OverflowError,
     "in method 'Qx_Trovix_ComManager_ComMode_Request', argument 4 of type 'u8_t'"),
    ("Qx_Trovix_ComManager_ComMode_Request", ("f", 1, 1), TypeError,
     "in method 'Qx_Trovix_ComManager_ComMode_Request', argument 2 of type 'Qx_Trovix_ComManager_ComMode_Request_CmdFlags_t'"),
    ("Qx_Trovix_ComManager_ComMode_GetCurrent", (1, qxtest.new_record(base, "int_p")), TypeError,
     "in method 'Qx_Trovix_ComManager_ComMode_GetCurrent', argument 3 of type 'u8_t *const'"),
    ("Qx_Trovix_ComManager_ComMode_GetRequested", (-1, None), OverflowError,
     "in method 'Qx_Trovix_ComManager_ComMode_GetRequested', argument 2 of type 'u32_t'"),
    ("Qx_Trovix_ComManager_NumberOfUsers_Get", (5,), TypeError,
     "in method 'Qx_Trovix_ComManager_NumberOfUsers_Get', argument 2 of type 'u32_t *const'"),
    ("Qx_Trovix_ComManager_User_Config", (0, "u", 0, None, "id"), TypeError,
     "in method 'Qx_Trovix_ComManager_User_Config', argument 6 of type 'u32_t *const'"),
])
def test_argument_messages(sim, tport, binding, args, exc, message):
    with qxtest.raises_exactly(exc, message):
        getattr(tv, binding)(tport, *args)
    assert sim.calls(binding) == 0


def test_user_name_member_holds_255_bytes(sim):
    user = qxtest.new_record(tv, "Qx_Trovix_ComManager_User_t")
    tv.Qx_Trovix_ComManager_User_t_Name_set(user, "u" * 255)
    assert tv.Qx_Trovix_ComManager_User_t_Name_get(user) == "u" * 255
    with qxtest.raises_exactly(TypeError, "in method 'Qx_Trovix_ComManager_User_t_Name_set', argument 2 of type 'char [256]'"):
        tv.Qx_Trovix_ComManager_User_t_Name_set(user, "u" * 256)
    assert layouts.size(USER) == 264
