#!/usr/bin/env python3
"""Writes lang/<name>.lng from tools/lang/<name>.txt: Windows-1252 text with CR LF line ends.

The .lng files are committed; the build does not run this script.
"""
import pathlib
import sys

here = pathlib.Path(__file__).resolve().parent
target = here.parent.parent / "lang"

for source in sorted(here.glob("*.txt")):
    text = source.read_text(encoding="utf-8")
    if not text.endswith("\n"):
        sys.exit(f"{source.name}: the last line has no line end")
    try:
        data = text.replace("\n", "\r\n").encode("cp1252")
    except UnicodeEncodeError as error:
        sys.exit(f"{source.name}: not a Windows-1252 character: {error}")
    (target / (source.stem + ".lng")).write_bytes(data)
    print(f"lang/{source.stem}.lng")
