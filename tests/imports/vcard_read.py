#!/usr/bin/python3
"""Prints the cards of a vCard file as Python's vobject reads them, in the interop tests' row format.

Usage: vcard_read.py FILE

Output (UTF-8): per card one line of tab-separated values, each escaped as csv_read.py
escapes them: family, given, additional, prefix, FN, ORG (units joined by "; "), TITLE,
the addresses ("street|city|region|code|country", joined by " / "), the phones and the
e-mail addresses (each joined by " / "), NOTE.
"""
import sys

import vobject


def escape(text):
    return text.replace("\\", "\\\\").replace("\t", "\\t").replace("\r", "\\r").replace("\n", "\\n")


def values(card, name):
    return card.contents.get(name, [])


def main():
    with open(sys.argv[1], newline="", encoding="utf-8") as f:
        text = f.read()
    for card in vobject.readComponents(text):
        n = card.n.value
        org = values(card, "org")
        fields = [n.family, n.given, n.additional, n.prefix, card.fn.value,
                  "; ".join(org[0].value) if org else "",
                  values(card, "title")[0].value if values(card, "title") else "",
                  " / ".join("|".join([a.value.street, a.value.city, a.value.region, a.value.code, a.value.country])
                             for a in values(card, "adr")),
                  " / ".join(t.value for t in values(card, "tel")),
                  " / ".join(e.value for e in values(card, "email")),
                  values(card, "note")[0].value if values(card, "note") else ""]
        sys.stdout.buffer.write(("\t".join(escape(v) for v in fields) + "\n").encode("utf-8"))


if __name__ == "__main__":
    main()
