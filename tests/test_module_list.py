"""The registry (libraries.cmake) against the build's module lists: the suite
skips only modules the build was asked to leave out, and fails for every
other module of the registry the build did not make."""
import os
import sys

import pytest

import qxtest


@pytest.fixture
def build_dir(tmp_path, monkeypatch):
    """A registry of four libraries, and a build folder that made _qx_api and
    _qx_broken (a module that raises on import), was asked to leave out
    _qx_api_can and knows nothing of _qx_api_trovix (configured before the
    registry had it)."""
    registry = tmp_path / "libraries.cmake"
    registry.write_text("# qx_library(old qx_api_old)\n"
                        "qx_library(base    qx_api)\n"
                        "qx_library(broken  qx_broken   base)  # qx_library(other qx_api_other)\n"
                        "qx_library(can     qx_api_can  base)\n"
                        "qx_library(\n  trovix\n  qx_api_trovix\n  base\n)\n")
    monkeypatch.setattr(qxtest, "REGISTRY", str(registry))
    python = tmp_path / "python"
    python.mkdir()
    (python / "qx_modules.txt").write_text("_qx_api\n_qx_broken\n")
    (python / "qx_left_out.txt").write_text("_qx_api_can\n")
    (python / "_qx_broken.py").write_text("raise ImportError('undefined symbol: Qx_Missing')\n")
    monkeypatch.setenv("QX_BUILD_DIR", str(tmp_path))
    monkeypatch.syspath_prepend(str(python))
    yield tmp_path
    sys.modules.pop("_qx_broken", None)


def test_registry_lists_its_modules_in_declaration_order(build_dir):
    assert qxtest.registry() == {"base": "_qx_api", "broken": "_qx_broken", "can": "_qx_api_can",
                                 "trovix": "_qx_api_trovix"}


def test_built_module_that_fails_to_import_is_an_error(build_dir):
    with pytest.raises(ImportError, match="Qx_Missing"):
        qxtest.module("_qx_broken")


def test_module_left_out_on_request_is_skipped(build_dir):
    with pytest.raises(pytest.skip.Exception, match=r"_qx_api_can is left out of this build \(QX_SKIP_LIBRARIES\)"):
        qxtest.module("_qx_api_can")


def test_module_neither_built_nor_left_out_fails(build_dir):
    with pytest.raises(pytest.fail.Exception, match=f"_qx_api_trovix is not built, though nothing left it out: "
                                                    f"configure and build {build_dir} again"):
        qxtest.module("_qx_api_trovix")
    assert qxtest.missing_modules() == ["_qx_api_trovix"]


def test_this_build_makes_every_module_of_the_registry_not_left_out():
    assert qxtest.missing_modules() == []


def test_every_listed_module_of_this_build_imports():
    for name in qxtest.built_modules():
        assert qxtest.module(name).__file__.startswith(os.environ["QX_BUILD_DIR"])
