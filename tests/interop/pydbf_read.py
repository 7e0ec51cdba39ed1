#!/usr/bin/python3
"""Prints a table as Python's dbf package reads it, in the interop test's row format.

Usage: pydbf_read.py TABLE

Output (UTF-8): a line of field names, then one line per record: "*" (deleted) or
"-", then one value per field, tab separated. Values are escaped (backslash, tab,
CR, LF) and written in a canonical form: C trailing blanks cut, N with the field's
decimals, L "T"/"F"/"", D YYYYMMDD or "", M the text.
"""
import sys

import dbf


def escape(text):
    return text.replace("\\", "\\\\").replace("\t", "\\t").replace("\r", "\\r").replace("\n", "\\n")


def canonical(value, kind, decimals):
    if value is None:
        return ""
    if kind == "C":
        return value.rstrip(" ")
    if kind in "NF":
        return "%.*f" % (decimals, value) if decimals else "%d" % value
    if kind == "L":
        return "T" if value else "F"
    if kind == "D":
        return value.strftime("%Y%m%d")
    return value  # memo text


def main():
    table = dbf.Table(sys.argv[1])
    table.open(mode=dbf.READ_ONLY)
    try:
        fields = []
        for name in table.field_names:
            info = table.field_info(name)
            fields.append((name, chr(info.field_type), info.decimal))
        out = ["\t".join(name.upper() for name, _, _ in fields)]
        for record in table:
            values = [escape(canonical(record[name], kind, dec)) for name, kind, dec in fields]
            out.append("\t".join(["*" if dbf.is_deleted(record) else "-"] + values))
    finally:
        table.close()
    sys.stdout.buffer.write(("\n".join(out) + "\n").encode("utf-8"))


if __name__ == "__main__":
    main()
