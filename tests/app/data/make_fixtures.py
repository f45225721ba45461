#!/usr/bin/env python3
"""Writes the project-file fixtures of the app tests, independently of the
program: GBK text with CR LF, zlib from python's own library.

Run from this folder: python3 make_fixtures.py
"""
import struct
import zlib

CRLF = "\r\n"
BANNER = "CFR File Format(Compatible Form Record File),by Tovan Pardune."
MARK = "\u25b2"


def gbk(text):
    return text.encode("gbk")


def record(name, tag, prop, value):
    return [name, tag, prop, value, ""]


# ---------------------------------------------------------------- form records
form_lines = [BANNER, "written by make_fixtures.py", "free line"]
form_lines += record("LD", "Float", "Exchange", "0.000277777777777")
form_lines += record("LD", "Enum", "ReadOnly", "False")
form_lines += record("LD", "Ord", "Color", "-16777211")
form_lines += record("LD", "String", "Text", "9000")
form_lines += record("LU", "Ord", "ItemIndex", "1")
form_lines += record("UfD", "Float", "Exchange", "0.0002777777")
form_lines += record("UfD", "Enum", "ReadOnly", "False")
form_lines += record("UfD", "Ord", "Color", "-16777211")
form_lines += record("UfD", "String", "Text", "3600")
form_lines += record("UfU", "Ord", "ItemIndex", "2")
# names, tags, properties and identifiers in other letter cases
form_lines += record("dpd", "Float", "exchange", "0.01")
form_lines += record("DPD", "Enum", "READONLY", "tRUE")
form_lines += record("dpD", "Ord", "color", "65535")
form_lines += record("dpD", "String", "TEXT", "140")
form_lines += record("dpU", "Ord", "ItemIndex", "1")
form_lines += record("ProjectD", "String", "Text", "常减压装置")
form_lines += record("DevicenameD", "String", "Text", "减压塔")
form_lines += record("CommentD", "Rich", "Lines", "第一行" + MARK + "第二行")
form_lines += record("AfD", "Ord", "ItemIndex", "3")
form_lines += record("fpercentD", "Ord", "ItemIndex", "1")
form_lines += record("PTD", "Ord", "ItemIndex", "4")
form_lines += record("UfMD", "Ord", "ItemIndex", "2")
form_lines += record("CBLagrange", "Enum", "Checked", "True")
# skipped: no such control, unknown tag, unknown property, wrong kind, and a
# check list record on a control that is no check list
form_lines += record("NoSuchD", "String", "Text", "lost")
form_lines += record("DlD", "Blob", "Text", "lost")
form_lines += record("DlD", "String", "Colour", "lost")
form_lines += record("DlD", "Float", "Text", "1.5")
form_lines += record("DlD", "CheckListBox", "Items", "a" + MARK + "1" + MARK)
form_lines += record("DlD", "String", "Text", "812.5")
form_plain = gbk(CRLF.join(form_lines) + CRLF)
open("form-plain.vel", "wb").write(form_plain)
open("form-compressed.vel", "wb").write(struct.pack("<I", len(form_plain)) + zlib.compress(form_plain, 9))

# -------------------------------------------------------------- legacy layout
ORDER = """FpD V FpU U CgmaxD V CgmaxU U UfD V UfU U UpD V UpU U dpD V dpU U dD V dU U UlsD V UlsU U
UvsD V UvsU U dPdryD V dPdryU U dPwaterD V dPwaterU U LD V LU U DlD V DlU U MlD V MlU U SLD V SLU U
DlfD V DlfU U AfD C DvfD V MvD V DvD V VD V VU U DvU U MvU U DvfU U fpercentD C PTD C LmdD V LmdU U
meD V meU U alfD V alfU U UfMD C HTUVD V HTUVU U HTULD V HTULU U HTUOVD V HTUOVU U HETPD V HETPU U
ProjectD T DevicenameD T DeviceNoD T ProjPD T Edit1 T Edit2 T Edit3 T Edit4 T CommentD R HTD V HTU U""".split()
CONTROLS = list(zip(ORDER[0::2], ORDER[1::2]))

# value fields: text, factor, read-only, colour (signed 32 bit)
fields = {
    "FpD": ("0.0465847495312456", "1", 1, 255),
    "UfD": ("4000", "0.0002777777", 1, 8421504),
    "dpD": ("140", "0.01", 1, 16776960),
    "LD": ("9000", "0.000277777777777", 0, -16777211),
    "DlD": ("0.8", "1000", 0, -16777211),
    "MlD": ("0.3", "0.001", 0, -16777211),
    "VD": ("10.8", "0.277777777777777", 0, -16777211),
}
units = {"UfU": 2, "dpU": 1, "LU": 1, "DlU": 2, "MlU": 1, "VU": 3}
combos = {"AfD": 4, "fpercentD": 2, "PTD": 5, "UfMD": 1}
texts = {"ProjectD": "乙烯装置", "DevicenameD": "脱甲烷塔", "DeviceNoD": "T-101", "ProjPD": "详细设计",
         "Edit1": "备用一", "Edit2": "", "Edit3": "x", "Edit4": "末"}
comment = ["第一行", "", "third line"]

legacy = []
for name, kind in CONTROLS:
    if kind == "V":
        text, factor, ro, colour = fields.get(name, ("", "1", 0, -16777211))
        legacy += [text, factor, str(ro), str(colour), text]
    elif kind == "U":
        legacy += [str(units.get(name, 0))] * 2
    elif kind == "C":
        legacy.append(str(combos.get(name, 0)))
    elif kind == "T":
        legacy.append(texts[name])
    elif kind == "R":
        legacy.append(str(len(comment)))
        legacy += comment
assert len(legacy) == 202 + len(comment), len(legacy)
open("legacy-full.vel", "wb").write(gbk(CRLF.join(legacy) + CRLF))
