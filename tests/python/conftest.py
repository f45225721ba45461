# The module from the build tree (PYTHONPATH) and the velk-calc built with
# it (VELK_CALC), as ctest sets them.
import json
import os
import subprocess

import pytest

SOURCE_DIR = os.environ.get("VELK_SOURCE_DIR", os.path.join(os.path.dirname(__file__), "..", ".."))

# The section most tests start from (2.5 kg/s of liquid, 3 kg/s of vapour,
# light organic properties).
TYPICAL = dict(LD=2.5, VD=3.0, DlD=800, DvD=2.5, MlD=0.0003, MvD=0.00001, SLD=0.02, DlfD=2e-9, DvfD=1e-5, alfD=2)


def velk_calc(args):
    """velk-calc's JSON and exit status for the arguments."""
    run = subprocess.run([os.environ["VELK_CALC"], *args], capture_output=True, check=False)
    return json.loads(run.stdout) if run.stdout else None, run.returncode


@pytest.fixture
def example(request):
    return os.path.join(SOURCE_DIR, "examples", request.param)
