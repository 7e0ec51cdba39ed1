#!/usr/bin/python3
# Counts the records of an address table whose last name begins with "SM" in any
# letter case and whose ISDEL is not true, with Python's dbf package: the same count
# bench_xbase times for the engine and for a plain C loop.
#
#   pydbf_count.py TABLE.DBF
# Prints the count; exit 3 when the dbf package is not installed.
import sys

try:
    import dbf
except ImportError:
    sys.exit(3)

table = dbf.Table(sys.argv[1])
table.open(dbf.READ_ONLY)
n = 0
for record in table:
    if dbf.is_deleted(record):
        continue
    if record.lname.upper().startswith("SM") and not record.isdel:
        n += 1
table.close()
print(n)
