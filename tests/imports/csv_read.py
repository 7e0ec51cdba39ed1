#!/usr/bin/python3
"""Prints a CSV file as Python's csv module reads it, in the interop tests' row format.

Usage: csv_read.py FILE ENCODING

Output (UTF-8): one line per row of the file, its values tab separated, each escaped
(backslash, tab, CR, LF) as tests/interop/pydbf_read.py escapes them.
"""
import csv
import sys


def escape(text):
    return text.replace("\\", "\\\\").replace("\t", "\\t").replace("\r", "\\r").replace("\n", "\\n")


def main():
    path, encoding = sys.argv[1:3]
    with open(path, newline="", encoding=encoding) as f:
        rows = ["\t".join(escape(value) for value in row) for row in csv.reader(f)]
    sys.stdout.buffer.write(("\n".join(rows) + "\n").encode("utf-8"))


if __name__ == "__main__":
    main()
