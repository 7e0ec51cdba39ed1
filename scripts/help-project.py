#!/usr/bin/env python3
"""Writes the help project of the manual and copies its files beside it.

    help-project.py SOURCE_DIR OUT_DIR

SOURCE_DIR holds the pages (plain HTML, one a window or task), their pictures and
style sheet. The contents tree is index.html's: each <h2> there is a section, and
the links in the list under it are its pages, in that order. Each page gives its
title in <title> and the words people look it up by in
<meta name="keywords" content="word, word, ...">; the title is a keyword as well.

OUT_DIR receives the pages and quillory.qhp / quillory.qhcp, from which
qhelpgenerator makes the compressed help (.qch) and its collection (.qhc).
Fails, naming the page, when a page is missing from the contents, has no title, or
links to a page or picture that is not in the folder.
"""
import html
import html.parser
import os
import shutil
import sys
from urllib.parse import urldefrag

NAMESPACE = "org.quillory.help"
FOLDER = "doc"


class PageReader(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.title = ""
        self.keywords = []
        self.links = []
        self.sections = []  # [section title, [(page, title)]]
        self._in = None
        self._text = ""
        self._href = None

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag in ("title", "h2"):
            self._in, self._text = tag, ""
        elif tag == "meta" and a.get("name", "").lower() == "keywords":
            self.keywords += [k.strip() for k in a.get("content", "").split(",") if k.strip()]
        elif tag == "a" and "href" in a:
            self.links.append(a["href"])
            self._href, self._text = a["href"], ""
        elif tag in ("img", "link") and ("src" in a or "href" in a):
            self.links.append(a.get("src") or a.get("href"))

    def handle_endtag(self, tag):
        if tag == self._in == "title":
            self.title = " ".join(self._text.split())
            self._in = None
        elif tag == self._in == "h2":
            self.sections.append([" ".join(self._text.split()), []])
            self._in = None
        elif tag == "a" and self._href is not None:
            if self.sections:
                self.sections[-1][1].append((self._href, " ".join(self._text.split())))
            self._href = None

    def handle_data(self, data):
        self._text += data


def read(path):
    reader = PageReader()
    with open(path, encoding="utf-8") as f:
        reader.feed(f.read())
    return reader


def main():
    source, out = sys.argv[1], sys.argv[2]
    files = []
    for root, _, names in os.walk(source):
        for name in names:
            files.append(os.path.relpath(os.path.join(root, name), source).replace(os.sep, "/"))
    files.sort()
    pages = [f for f in files if f.endswith(".html")]
    errors = []
    info = {}
    for page in pages:
        r = read(os.path.join(source, page))
        if not r.title:
            errors.append(f"{page}: no <title>")
        for link in r.links:
            target = urldefrag(link)[0]
            if not target or "://" in target or target.startswith("mailto:"):
                continue
            if os.path.normpath(os.path.join(os.path.dirname(page), target)).replace(os.sep, "/") not in files:
                errors.append(f"{page}: the link {link} goes to no file of the help")
        info[page] = r

    sections = info["index.html"].sections
    listed = {"index.html"} | {urldefrag(p)[0] for _, entries in sections for p, _ in entries}
    for page in pages:
        if page not in listed:
            errors.append(f"{page}: not in the contents (index.html)")
    if errors:
        sys.exit("help: " + "\n help: ".join(errors))

    os.makedirs(out, exist_ok=True)
    for f in files:
        os.makedirs(os.path.dirname(os.path.join(out, f)) or out, exist_ok=True)
        shutil.copyfile(os.path.join(source, f), os.path.join(out, f))

    q = html.escape
    lines = ['<?xml version="1.0" encoding="UTF-8"?>', '<QtHelpProject version="1.0">',
             f"  <namespace>{NAMESPACE}</namespace>", f"  <virtualFolder>{FOLDER}</virtualFolder>",
             # The search index is made per set of filter attributes: a section without
             # one would not be indexed at all.
             '  <customFilter name="Quillory"><filterAttribute>quillory</filterAttribute></customFilter>',
             "  <filterSection>", "    <filterAttribute>quillory</filterAttribute>", "    <toc>",
             f'      <section title="{q(info["index.html"].title)}" ref="index.html">']
    for title, entries in sections:
        lines.append(f'        <section title="{q(title)}" ref="{q(entries[0][0]) if entries else "index.html"}">')
        for ref, text in entries:
            lines.append(f'          <section title="{q(info[urldefrag(ref)[0]].title)}" ref="{q(ref)}"/>')
        lines.append("        </section>")
    lines += ["      </section>", "    </toc>", "    <keywords>"]
    for page in pages:
        for word in [info[page].title] + info[page].keywords:
            lines.append(f'      <keyword name="{q(word)}" ref="{q(page)}"/>')
    lines += ["    </keywords>", "    <files>"]
    lines += [f"      <file>{q(f)}</file>" for f in files]
    lines += ["    </files>", "  </filterSection>", "</QtHelpProject>", ""]
    with open(os.path.join(out, "quillory.qhp"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines))

    with open(os.path.join(out, "quillory.qhcp"), "w", encoding="utf-8") as f:
        f.write("""<?xml version="1.0" encoding="UTF-8"?>
<QHelpCollectionProject version="1.0">
  <docFiles>
    <generate><file><input>quillory.qhp</input><output>quillory.qch</output></file></generate>
    <register><file>quillory.qch</file></register>
  </docFiles>
</QHelpCollectionProject>
""")


if __name__ == "__main__":
    main()
