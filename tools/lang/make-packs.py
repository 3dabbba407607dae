#!/usr/bin/env python3
"""Writes lang/<name>.lng from tools/lang/<name>.txt: Windows-1252 text with CR LF line ends.

It also writes the headers that name the entries the code uses: a comment line "#> Name" in
English.txt names the entry that follows it, in its section (":setup" or ":main").

The .lng files and the headers are committed; the build does not run this script.
"""
import pathlib
import sys

here = pathlib.Path(__file__).resolve().parent
root = here.parent.parent

HEADERS = {
    ":main": (root / "core" / "LanguageEntries.h", "TEntry",
              "The trainer's language-pack texts that the code uses, by name."),
    ":setup": (root / "setup" / "SetupEntries.h", "TSetupEntry",
               "The installer's language-pack texts, by name."),
}


def named_entries(text):
    """{section: [(name, number)]} from the "#> Name" markers."""
    names = {section: [] for section in HEADERS}
    section = None
    number = 0
    pending = None
    for line in text.split("\n")[:-1]:
        if line.startswith(":"):
            section, number, pending = line, 0, None
        elif line.startswith("#> "):
            pending = line[3:].strip()
        elif line.startswith("#"):
            continue
        elif section is not None:
            if pending and section in names:
                names[section].append((pending, number))
            pending = None
            number += 1
    return names


def write_header(path, enum, comment, entries):
    seen = set()
    for name, _ in entries:
        if name in seen:
            sys.exit(f"{path.name}: {name} names two entries")
        seen.add(name)
    lines = [
        "// Written by tools/lang/make-packs.py from tools/lang/English.txt; change the names there.",
        "#pragma once",
        "",
        f"// {comment}",
        f"enum class {enum} : int {{",
    ]
    lines += [f"    {name} = {number}," for name, number in entries]
    lines += ["};", ""]
    path.write_text("\n".join(lines), encoding="utf-8")
    print(path.relative_to(root))


for source in sorted(here.glob("*.txt")):
    text = source.read_text(encoding="utf-8")
    if not text.endswith("\n"):
        sys.exit(f"{source.name}: the last line has no line end")
    # The names are for the code only; the shipped pack stays as its authors wrote it.
    shipped = "".join(line for line in text.splitlines(True) if not line.startswith("#> "))
    try:
        data = shipped.replace("\n", "\r\n").encode("cp1252")
    except UnicodeEncodeError as error:
        sys.exit(f"{source.name}: not a Windows-1252 character: {error}")
    (root / "lang" / (source.stem + ".lng")).write_bytes(data)
    print(f"lang/{source.stem}.lng")
    if source.stem == "English":
        for section, entries in named_entries(text).items():
            write_header(*HEADERS[section], entries)
