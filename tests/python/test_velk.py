import math
import os
import random
import subprocess
import sys
import threading

import numpy as np
import pytest
import velk
from conftest import SOURCE_DIR, TYPICAL, velk_calc


def text(v):
    return v if isinstance(v, str) else float.__repr__(float(v)) if isinstance(v, float) else str(v)


def cli_args(packing=None, method=None, foaming=None, flood=None, project=None, **fields):
    args = []
    for option, value in (("--project", project), ("--packing", packing), ("--method", method),
                          ("--foaming", foaming), ("--flood", flood)):
        if value is not None:
            args += [option, text(value)]
    return args + [f"{k}={text(v)}" for k, v in fields.items()]


def random_cases(n, seed=31):
    """Sections across the correlations' range, drawn independently of the module."""
    rnd = random.Random(seed)
    names = [p["name"] for p in velk.packings()]
    for _ in range(n):
        case = dict(TYPICAL, LD=round(rnd.uniform(0.2, 20), 3), VD=round(rnd.uniform(0.2, 20), 3),
                    DlD=round(rnd.uniform(400, 1100), 1), DvD=round(rnd.uniform(0.1, 40), 2),
                    SLD=round(rnd.uniform(0.004, 0.07), 4))
        yield dict(case, packing=rnd.choice(names), method=rnd.randrange(3),
                   foaming=rnd.choice(["0.6", "0.8", "1.0"]), flood=rnd.choice([60, 70.5, "80"]))


PROFILE = f"{SOURCE_DIR}/examples/debutanizer.csv"
CASES = f"{SOURCE_DIR}/fuzz/corpus/loadcases/three.csv"
EXAMPLES = ["atmospheric.vel", "vacuum.vel", "high-pressure.vel", "atmospheric-legacy.vel", "vacuum-plain.vel"]


@pytest.mark.parametrize("kwargs", [dict(project=f"{SOURCE_DIR}/examples/{e}") for e in EXAMPLES]
                         + list(random_cases(12)) + [dict(TYPICAL, LD="abc"), dict(TYPICAL, VD=-3)])
def test_calculate_is_velk_calc(kwargs):
    expected, status = velk_calc(cli_args(**kwargs))
    assert status in (0, 1)
    result = velk.calculate(**kwargs)
    assert result == expected
    assert result["completed"] == (status == 0)


@pytest.mark.parametrize("call, args", [
    (lambda: velk.compare(**TYPICAL), ["--compare"]),
    (lambda: velk.compare(all_methods=True, method=1, **TYPICAL), ["--compare", "--all-methods", "--method", "1"]),
    (lambda: velk.calculate(foaming=1, units="us", **TYPICAL), ["--foaming", "1.0", "--units", "us"]),
    (lambda: velk.profile(PROFILE, packing="Mellapak-350Y", **TYPICAL), ["--profile", PROFILE, "--packing", "Mellapak-350Y"]),
    (lambda: velk.cases(CASES, rate_diameter=1.5, design_dp=3, **TYPICAL),
     ["--cases", CASES, "--rate-diameter", "1.5", "--design-dp", "3"]),
])
def test_other_commands_are_velk_calc(call, args):
    typed = [f"{k}={text(v)}" for k, v in TYPICAL.items()]
    assert call() == velk_calc(args + typed)[0]


@pytest.mark.parametrize("call, complaint", [
    (lambda: velk.calculate(packing="No-Such-Pak", **TYPICAL), "unknown packing 'No-Such-Pak'"),
    (lambda: velk.calculate(XD=1, **TYPICAL), "unknown field 'XD'"),
    (lambda: velk.calculate(foaming=0.55, **TYPICAL), "foaming factor must be one of"),
    (lambda: velk.calculate(flood=-5, **TYPICAL), "--flood needs a percentage"),
    (lambda: velk.sweep(TYPICAL, "XD", [1, 2]), "unknown field 'XD'"),
    (lambda: velk.sweep(dict(TYPICAL, packing="No-Such-Pak"), "VD", [1]), "unknown packing"),
])
def test_call_errors_raise_value_error(call, complaint):
    with pytest.raises(ValueError, match=complaint.replace("(", r"\(")):
        call()


def si_of(result):
    """The SI value of every field of a single run, NaN where the run has none."""
    return {name: math.nan if f["si"] is None or f["stale"] else f["si"] for name, f in result["fields"].items()}


def assert_row(sweep, i, single):
    assert sweep["completed"][i] == single["completed"]
    for name, value in (si_of(single) if single["completed"] else {}).items():
        got = sweep[name][i]
        assert (math.isnan(value) and math.isnan(got)) or got == value, (name, i, got, value)


def test_sweep_equals_single_runs_and_keeps_failed_points():
    base = dict(TYPICAL, packing="Mellapak-350Y", method=1)
    values = [0.5, 2.0, "abc", 4.5, -1, 8.0]
    swept = velk.sweep(base, "VD", values)
    assert set(swept) >= {"VD", "dD", "dpD", "completed", "messages"}
    assert all(len(a) == len(values) for k, a in swept.items() if k != "messages")
    for i, v in enumerate(values):
        single = velk.calculate(**dict(base, VD=v))
        assert_row(swept, i, single)
        if not single["completed"]:
            assert all(math.isnan(swept[name][i]) for name in single["fields"])
            assert swept["messages"][i], "a failed point says why"
    assert swept["completed"].tolist() == [True, True, False, True, False, True]
    assert swept["VD"][1] == 2.0
    # A case short of a hydraulic input has no figures, and its message names the input.
    blank = velk.sweep(base, "VD", [""])
    assert not blank["completed"][0] and math.isnan(blank["dD"][0]) and "VD" in blank["messages"][0][-1]


def test_threads_calculate_at_once():
    """Two threads on different packings and correlations give what each gives alone."""
    jobs = [dict(TYPICAL, packing="Flexipac-2", method=0), dict(TYPICAL, packing="CY-700", method=2)]
    values = np.linspace(0.5, 6, 300)
    alone = [velk.sweep(job, "VD", values) for job in jobs]
    singles = [velk.calculate(**job) for job in jobs]
    together = [None, None]
    mismatch = []

    def work(k):
        for _ in range(3):
            together[k] = velk.sweep(jobs[k], "VD", values)
            if velk.calculate(**jobs[k]) != singles[k]:
                mismatch.append(k)

    threads = [threading.Thread(target=work, args=(k,)) for k in range(2)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert not mismatch
    for k in range(2):
        for name in ("dD", "dpD", "completed"):
            np.testing.assert_array_equal(together[k][name], alone[k][name])


def test_first_calls_from_two_threads():
    """A fresh interpreter whose first calls come from two threads at once finishes."""
    script = ("import threading, velk\n"
              f"T = {TYPICAL!r}\n"
              "done = []\n"
              "def w(): done.append(velk.sweep(T, 'VD', [1, 2])['completed'].all() and velk.calculate(**T)['completed'])\n"
              "ts = [threading.Thread(target=w) for _ in range(2)]\n"
              "[t.start() for t in ts]; [t.join() for t in ts]\n"
              "assert done == [True, True], done\n")
    for _ in range(3):
        subprocess.run([sys.executable, "-c", script], env=os.environ, timeout=60, check=True)


def test_packings_are_the_compare_rows():
    rows = velk.packings()
    keys = ["name", "area", "voidFraction", "Cf", "h", "twoB", "S", "theta", "dh", "Cf1", "F", "remark", "user"]
    assert all(list(r) == keys and r["user"] is False for r in rows)
    compared = velk.compare(**TYPICAL)["compare"]
    assert [r["name"] for r in rows] == [c["packing"] for c in compared]
    # Mellapak-500Y as the catalogue gives it: 500 m2/m3, 6.3 mm crest, 45 degrees.
    m500 = next(r for r in rows if r["name"] == "Mellapak-500Y")
    assert (m500["area"], m500["h"], m500["theta"]) == (500.0, 6.3, 45.0)


@pytest.mark.parametrize("call, args", [
    (lambda: velk.column(stages=22, bed_max_stages=10, hetp_margin=10, **TYPICAL),
     ["--column", "--stages", "22", "--bed-max-stages", "10", "--hetp-margin", "10"]),
    (lambda: velk.efficiency(efficiency_model="max", **TYPICAL), ["--efficiency", "--efficiency-model", "max"]),
    (lambda: velk.calculate(limit_flood=50, diameter_step="6in", **TYPICAL),
     ["--limit-flood", "50", "--diameter-step", "6in"]),
])
def test_column_and_efficiency_are_velk_calc(call, args):
    typed = [f"{k}={text(v)}" for k, v in TYPICAL.items()]
    assert call() == velk_calc(args + typed)[0]


HEAD = ("序号,填料类型PT,比表面α,空隙率e,校正系数Cf,波峰高度h,波距2B,波长S,倾角θ,水力直径dh,"
        "结构参数Cf1,Fp1/3.2808,备注\n")


def test_a_user_copy_of_a_row_computes_as_it(tmp_path):
    row = next(r for r, user in velk._core.catalogue_rows() if r[1] == "Mellapak-500Y")
    good = tmp_path / "packings.csv"
    good.write_text(HEAD + ",".join(["1", "My-500Y"] + row[2:]) + "\n", encoding="utf-8")
    rows = velk.packings(good)
    assert rows[-1]["name"] == "My-500Y" and rows[-1]["user"] is True
    assert not any(r["user"] for r in rows[:-1])
    original = next(r for r in rows if r["name"] == "Mellapak-500Y")
    assert {k: v for k, v in rows[-1].items() if k not in ("name", "user")} == \
           {k: v for k, v in original.items() if k not in ("name", "user")}
    mine = velk.calculate(packing="My-500Y", packings=str(good), **TYPICAL)
    theirs = velk.calculate(packing="Mellapak-500Y", **TYPICAL)
    assert mine["fields"] == theirs["fields"] and mine["completed"]
    broken = tmp_path / "broken.csv"
    broken.write_text(HEAD + "1,Mellapak-500Y,500,0.9,1,6.3,9.6,8.6,45,5,1,1,\n", encoding="utf-8")
    with pytest.raises(ValueError, match=":2:"):
        velk.packings(broken)
