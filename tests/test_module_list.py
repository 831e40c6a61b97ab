"""The suite skips only modules the build did not make."""
import os
import sys

import pytest

import qxtest


@pytest.fixture
def build_dir(tmp_path, monkeypatch):
    """A build folder whose module list names _qx_broken, a module that
    raises on import."""
    python = tmp_path / "python"
    python.mkdir()
    (python / "qx_modules.txt").write_text("_qx_api\n_qx_broken\n")
    (python / "_qx_broken.py").write_text("raise ImportError('undefined symbol: Qx_Missing')\n")
    monkeypatch.setenv("QX_BUILD_DIR", str(tmp_path))
    monkeypatch.syspath_prepend(str(python))
    yield tmp_path
    sys.modules.pop("_qx_broken", None)


def test_built_module_that_fails_to_import_is_an_error(build_dir):
    with pytest.raises(ImportError, match="Qx_Missing"):
        qxtest.module("_qx_broken")


def test_module_not_built_is_skipped(build_dir):
    with pytest.raises(pytest.skip.Exception, match="_qx_api_trovix is not built"):
        qxtest.module("_qx_api_trovix")


def test_every_listed_module_of_this_build_imports():
    for name in qxtest.built_modules():
        assert qxtest.module(name).__file__.startswith(os.environ["QX_BUILD_DIR"])
