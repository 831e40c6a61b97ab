"""Runs pytest with the arguments given, as scripts/test.sh does: where they
name no test (options alone, such as -k open or -x), on the whole suite,
tests/; where they name files, folders or tests, on those alone. The
checkout's pytest.ini applies wherever it is started from."""
import os
import sys

import pytest

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


class WholeSuiteUnlessNamed:
    """Collects tests/ when the command line names nothing to collect: pytest
    parsed it, so an option's value (-k open, --deselect <test>) is never
    taken for a path."""

    @staticmethod
    def pytest_configure(config):
        if not config.option.file_or_dir:
            config.args = [os.path.join(ROOT, "tests")]


if __name__ == "__main__":
    sys.exit(pytest.main(["-c", os.path.join(ROOT, "pytest.ini"), *sys.argv[1:]], plugins=[WholeSuiteUnlessNamed()]))
