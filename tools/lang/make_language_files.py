#!/usr/bin/env python3
"""Builds the shipped language files Language/*.xml from the translators' texts in texts/*.txt.

Each texts file is UTF-8, one `key<TAB>text` line per catalogue key, in catalogue order. The shipped
files deliberately use several encodings, so that the program's reader meets each of them in real
data: UTF-16 with byte-order mark in both byte orders, UTF-8 with and without byte-order mark, UTF-8
without any declaration, and two 8-bit code pages named in the XML declaration.

Usage: make_language_files.py [--check] [LANGUAGE_DIR]
  --check  compare instead of writing; exit 1 when a shipped file is missing or out of date.
"""
import pathlib
import sys

HERE = pathlib.Path(__file__).resolve().parent
TEXTS = HERE / "texts"

# file name: (language name for the root element, encoding, byte-order mark, declared encoding or None)
FILES = {
    "sc.xml": ("Chinese", "utf-16-le", b"\xff\xfe", "UTF-16"),
    "en.xml": ("English", "utf-8", b"", "UTF-8"),
    "fre.xml": ("French", "utf-8", b"\xef\xbb\xbf", "UTF-8"),
    "kor.xml": ("Korean", "utf-8", b"", None),
    "ger.xml": ("German", "iso-8859-1", b"", "ISO-8859-1"),
    "ita.xml": ("Italian", "utf-8", b"", "UTF-8"),
    "span.xml": ("Spanish", "utf-8", b"", "UTF-8"),
    "dutch.xml": ("Dutch", "utf-8", b"", "UTF-8"),
    "pt.xml": ("Portuguese", "utf-8", b"", "UTF-8"),
    "rus.xml": ("Russian", "windows-1251", b"", "windows-1251"),
    "ukr.xml": ("Ukrainian", "utf-16-be", b"\xfe\xff", "UTF-16"),
    "tw.xml": ("Trad.Chinese", "utf-8", b"\xef\xbb\xbf", "UTF-8"),
}


def escape(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def read_texts(path):
    entries = []
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        key, sep, text = line.partition("\t")
        if not sep or not key or not text:
            sys.exit(f"{path}:{number}: expected key<TAB>text")
        entries.append((key, text))
    return entries


def build(name):
    language, encoding, bom, declared = FILES[name]
    entries = read_texts(TEXTS / name.replace(".xml", ".txt"))
    lines = []
    if declared:
        lines.append(f'<?xml version="1.0" encoding="{declared}"?>')
    lines.append(f'<language name="{language}">')
    lines.append("  <config>")
    lines += [f"    <{key}>{escape(text)}</{key}>" for key, text in entries]
    lines.append("  </config>")
    lines.append("</language>")
    # strict: a text that the code page cannot hold must fail the build, not turn into '?'.
    return bom + ("\r\n".join(lines) + "\r\n").encode(encoding, errors="strict")


def main(argv):
    check = "--check" in argv
    args = [a for a in argv if a != "--check"]
    out = pathlib.Path(args[0]) if args else HERE.parent.parent / "Language"
    keys = [key for key, _ in read_texts(TEXTS / "en.txt")]
    stale = []
    for name in FILES:
        got = [key for key, _ in read_texts(TEXTS / name.replace(".xml", ".txt"))]
        if got != keys:
            sys.exit(f"{name}: keys differ from en.txt in name or order")
        data = build(name)
        target = out / name
        if check:
            if not target.exists() or target.read_bytes() != data:
                stale.append(name)
        else:
            target.write_bytes(data)
    if stale:
        print("out of date: " + ", ".join(stale) + " (run tools/lang/make_language_files.py)")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
