"""VELK from Python: the calculations of velk-calc in this process.

Every function builds velk-calc's arguments and runs velk-calc's own code in
the calling thread, so a result is the dict of the JSON velk-calc prints for
the same inputs. See docs/python.md.
"""

from __future__ import annotations

import json
import numbers
from typing import Any, Mapping, Sequence

from . import _core

__all__ = ["calculate", "compare", "profile", "cases", "column", "efficiency", "packings", "sweep"]

# Keyword arguments that are velk-calc options rather than fields: the option,
# and whether it is a flag (given without a value).
_OPTIONS = {
    "packing": ("--packing", False),
    "method": ("--method", False),
    "foaming": ("--foaming", False),
    "flood": ("--flood", False),
    "units": ("--units", False),
    "project": ("--project", False),
    "lagrange": ("--lagrange", True),
    "rate_diameter": ("--rate-diameter", False),
    "stages": ("--stages", False),
    "design_dp": ("--design-dp", False),
    "design_basis": ("--design-basis", False),
    "conservative": ("--conservative", True),
    "packings": ("--packings", False),
    "efficiency_model": ("--efficiency-model", False),
    "diameter_step": ("--diameter-step", False),
    "limit_flood": ("--limit-flood", False),
    "limit_fmin": ("--limit-fmin", False),
    "limit_bed_dp": ("--limit-bed-dp", False),
    "limit_wetting": ("--limit-wetting", False),
    "hetp_margin": ("--hetp-margin", False),
    "bed_max_height": ("--bed-max-height", False),
    "bed_max_stages": ("--bed-max-stages", False),
}

# The grid's columns from the third on, by their keys in packings().
_CATALOGUE_KEYS = ("area", "voidFraction", "Cf", "h", "twoB", "S", "theta", "dh", "Cf1", "F", "remark")


def _text(value: Any) -> str:
    """A field's text: texts as they are, numbers in their shortest exact form."""
    if isinstance(value, str):
        return value
    if isinstance(value, bool):
        raise ValueError(f"a field takes a number or a text, not {value!r}")
    if isinstance(value, numbers.Integral):
        return str(int(value))
    if isinstance(value, numbers.Real):
        return float.__repr__(float(value))
    raise ValueError(f"a field takes a number or a text, not {value!r}")


def _foaming_text(value: Any) -> str:
    """The list's text of a foaming factor given as a number (0.8 or 1 for "1.0")."""
    if isinstance(value, str) or isinstance(value, bool) or not isinstance(value, numbers.Real):
        return _text(value)
    for item in _core.foaming_items():
        if float(item) == float(value):
            return item
    return _text(value)


def _arguments(options: Mapping[str, Any], fields: Mapping[str, Any]) -> list[str]:
    args: list[str] = []
    for name, value in options.items():
        if value is None or value is False:
            continue
        option, flag = _OPTIONS[name]
        if flag:
            args.append(option)
        else:
            text = _foaming_text(value) if name == "foaming" else _text(value)
            args += [option, text]
    for name, value in fields.items():
        if name == "unit":  # {"FIELD": INDEX, ...}: --unit FIELD=INDEX
            for field, index in dict(value).items():
                args += ["--unit", f"{field}={_text(index)}"]
        elif name in _OPTIONS:
            args += _arguments({name: value}, {})
        else:
            args.append(f"{name}={_text(value)}")
    return args


def _split(kwargs: Mapping[str, Any]) -> list[str]:
    options = {k: v for k, v in kwargs.items() if k in _OPTIONS}
    fields = {k: v for k, v in kwargs.items() if k not in _OPTIONS}
    return _arguments(options, fields)


def _run(args: list[str]) -> dict:
    """velk-calc's JSON as a dict; its usage errors (exit status 2) as ValueError."""
    status, out, err = _core.run(args)
    if status == 2 or not out:
        raise ValueError(_core.usage_complaint(err.decode("utf-8", "replace")))
    return json.loads(out.decode("utf-8"))


def calculate(packing: str | None = None, method: int | None = None, foaming: float | str | None = None,
              flood: float | str | None = None, units: str | None = None, **fields: Any) -> dict:
    """One case, as `velk-calc`: {"fields", "packing", "operation", "warnings", "messages", "completed", ...}.

    fields: FIELD=value (LD=..., VD=...), a number or a text in the field's
    current unit; the options project, lagrange, rate_diameter, stages,
    design_dp, design_basis, conservative and unit={FIELD: INDEX} as velk-calc's.
    """
    return _run(_split(dict(packing=packing, method=method, foaming=foaming, flood=flood, units=units, **fields)))


def compare(all_methods: bool = False, **base: Any) -> dict:
    """Every catalogue packing (and with all_methods every correlation): {"compare": [...]}."""
    return _run(["--compare"] + (["--all-methods"] if all_methods else []) + _split(base))


def profile(file: str, beds: str | None = None, **base: Any) -> dict:
    """The stages of a tray-profile CSV file, as `velk-calc --profile FILE`."""
    return _run(["--profile", str(file)] + (["--beds", beds] if beds else []) + _split(base))


def cases(file: str, **base: Any) -> dict:
    """The load cases of a CSV file at the section's diameter, as `velk-calc --cases FILE`."""
    return _run(["--cases", str(file)] + _split(base))


def column(**base: Any) -> dict:
    """The section's beds, internals, total pressure drop and height, as `velk-calc --column`."""
    return _run(["--column"] + _split(base))


def efficiency(**base: Any) -> dict:
    """Every mass-transfer model's heights, their spread and the design HETP, as `velk-calc --efficiency`."""
    return _run(["--efficiency"] + _split(base))


def _cell(text: str) -> float | str:
    try:
        return float(text)
    except ValueError:
        return text


def packings(packings: str | None = None) -> list[dict]:
    """The catalogue, one dict a row: numbers where the grid's cell is one, its text otherwise.

    packings: a user catalogue file (as velk-calc --packings), whose rows follow
    the built-in ones with "user" true; a file with faults raises ValueError.
    """
    rows = []
    for row, user in _core.catalogue_rows(str(packings) if packings else ""):
        entry: dict = {"name": row[1]}
        for key, text in zip(_CATALOGUE_KEYS, row[2:]):
            entry[key] = text if key == "remark" else _cell(text)
        entry["user"] = bool(user)
        rows.append(entry)
    return rows


def sweep(base: Mapping[str, Any], field: str, values: Sequence[Any]) -> dict:
    """One input through many values, computed in C++ without the interpreter lock.

    base: the keyword arguments of calculate(). Returns {FIELD: array of SI
    values (NaN where a case has none), "completed": bool array, "messages":
    [[text, ...] per case]}. A case that fails gives NaN in its row, never an
    exception; an error in the call (as velk-calc's exit status 2) raises ValueError.
    """
    if hasattr(values, "tolist"):  # a NumPy array: its numbers as Python's, at once
        values = values.tolist()
    return _core.sweep(_split(dict(base)), field, [_text(v) for v in values])
