#!/usr/bin/python3
"""Writes a table with Python's dbf package from rows given on standard input.

Usage: pydbf_write.py TABLE TYPE FIELDS < rows    creates TABLE
       pydbf_write.py --append TABLE < rows         adds the rows to an existing TABLE
  TYPE    fp (FoxPro 2, 0xF5 + .fpt) or vfp (Visual FoxPro, 0x30)
  FIELDS  dbf's own field list, e.g. "NAME C(30); AMOUNT N(10,2); OK L; DAY D; NOTES M"
  rows    the format pydbf_read.py prints (the first line, the field names, is skipped)

New tables are written in code page 1252.
"""
import datetime
import sys

import dbf


def unescape(text):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            i += 1
            c = {"t": "\t", "r": "\r", "n": "\n"}.get(text[i], text[i])
        out.append(c)
        i += 1
    return "".join(out)


def value_of(text, kind, decimals):
    if kind == "C" or kind == "M":
        return text
    if text == "":
        return None
    if kind in "NF":
        return float(text) if decimals else int(text)
    if kind == "L":
        return text == "T"
    if kind == "D":
        return datetime.date(int(text[0:4]), int(text[4:6]), int(text[6:8]))
    raise ValueError("unsupported field type " + kind)


def main():
    lines = sys.stdin.buffer.read().decode("utf-8").split("\n")
    if sys.argv[1] == "--append":
        table = dbf.Table(sys.argv[2])
    else:
        path, table_type, field_list = sys.argv[1:4]
        table = dbf.Table(path, field_list, dbf_type=table_type, codepage="cp1252")
    table.open(mode=dbf.READ_WRITE)
    try:
        fields = []
        for name in table.field_names:
            info = table.field_info(name)
            fields.append((chr(info.field_type), info.decimal))
        for line in lines[1:]:
            if not line:
                continue
            cells = [unescape(cell) for cell in line.split("\t")]
            mark, cells = cells[0], cells[1:]
            if len(cells) != len(fields):
                raise ValueError("%d values for %d fields: %r" % (len(cells), len(fields), line))
            table.append(tuple(value_of(text, k, dec) for text, (k, dec) in zip(cells, fields)))
            if mark == "*":
                dbf.delete(table[-1])
    finally:
        table.close()


if __name__ == "__main__":
    main()
