#!/usr/bin/python3
"""Reads a workbook with openpyxl, independently of the program, and prints
it as JSON: the sheet names, the active sheet and every cell with a value as
[type, value], type being "n" (number), "s" (text) or "b" (boolean)."""
import json
import sys
import warnings

import openpyxl

warnings.simplefilter("ignore")
wb = openpyxl.load_workbook(sys.argv[1])
out = {"sheets": wb.sheetnames, "active": wb.active.title, "template": wb.template, "cells": {}}
for ws in wb.worksheets:
    cells = {}
    for row in ws.iter_rows():
        for c in row:
            if c.value is None:
                continue
            if isinstance(c.value, bool):
                cells[c.coordinate] = ["b", c.value]
            elif isinstance(c.value, (int, float)):
                cells[c.coordinate] = ["n", c.value]
            else:
                cells[c.coordinate] = ["s", str(c.value)]
    out["cells"][ws.title] = cells
    out.setdefault("merged", {})[ws.title] = sorted(str(r) for r in ws.merged_cells.ranges)
json.dump(out, sys.stdout, ensure_ascii=False)
