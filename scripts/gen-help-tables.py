#!/usr/bin/env python3
"""Writes the help-text tables of CpMgmt/CmdPro/ from the plain-text sources in
scripts/help-texts/: scripts/help-texts/NAME.txt becomes CpMgmt/CmdPro/Help/NAME.cpp.

A source names its table, then its texts, one element per line:
    table ADAPTER_DRIVE_HELP          the HelpTable the file defines
    text ADPALLINFO                   a new text and the topic word that asks for it
    title "AdpAllInfo" 10             the title line and an underline of 10 dashes
    description                       the description heading
    convention                        the convention heading
    block two                         a convention block: two, more, wide, property, tabbed,
                                      drives (the drive list), lds (the logical-drive list), an
                                      (the -aN line alone)
    "text"                            an element as printed, in C escapes (\\n, \\t, \\xNN);
                                      "%s" is the program name, "%%" one '%'
    oem2 "text"                       the OEM-2 wording of the element before it
    # ...                             a comment
Every element is copied byte for byte; a \\xNN escape is closed off so that a following
letter cannot extend it; any conversion other than one "%s" and "%%" stops the script.

Run from the repository root:  scripts/gen-help-tables.py
"""
import glob
import os
import re
import sys

BLOCKS = {
    "two": [
        r'"          -aN         N specifies the adapter number for the command.\n"',
        r'"          -a0,1,2     Specifies the command is for adapters 0, 1, and 2. You can \n"',
        r'"             \t      select two or more adapters in this manner.\n"',
        r'"          -aALL       Specifies the command is for all adapters.\n"',
    ],
    "more": [
        r'"          -aN         N specifies the adapter number for the command.\n"',
        r'"          -a0,1,2     Specifies the command is for adapters 0, 1, and 2. More than one adapter can be selected.\n"',
        r'"          -aALL       Specifies the command is for all adapters.\n"',
    ],
    "wide": [
        r'"          -aN         N specifies the adapter number for the command.\n"',
        r'"          -a0,1,2     Specifies the command is for adapters 0, 1, and 2. You can \n"',
        r'"              \t      select two or more adapters in this manner.\n"',
        r'"          -aALL      Specifies the command is for all adapters. \n"',
    ],
    "property": [
        r'"          -aN         N specifies the adapter number for the command. \n"',
        r'"          -a0,1,2     Specifies the command is for adapters 0, 1, and 2. You \n"',
        r'"                      can select two or more adapters in this manner. \n"',
        r'"          -aALL       Specifies the command is for all adapters. \n"',
    ],
    "tabbed": [
        r'"\t-aN         N specifies the adapter number for the command.\n"',
        r'"\t-a0,1,2     Specifies the command is for adapters 0, 1, and 2. You can \n"',
        r'"                    select two or more adapters in this manner.\n"',
        r'"\t-aALL       Specifies the command is for all adapters.\n"',
    ],
    "drives": [
        r'"          -PhysDrv[E0:S0,E1:S1....]  List of physical drives, E specifies enclosure \n"',
        r'"                     id and S specifies Slot number of physical drive.  \n"',
    ],
    "lds": [
        r'"          -lN         N specifies the virtual/logical drive number for the command.\n"',
        r'"          -l0,1,2     Specifies the command is for virtual/logical drive number 0, 1, and 2. More than one virtual/logical driver number can be selected.\n"',
        r'"          -lALL       Specifies the command is for all virtual/logical drive.\n"',
    ],
    "an": [
        r'"          -aN         N specifies the adapter number for the command.\n"',
    ],
}

LITERAL = r'"(?:[^"\\]|\\.)*"'


def fail(where, message):
    sys.exit("%s: %s" % (where, message))


def checked(where, literal):
    conversions = re.findall(r"%(.)", literal.replace("%%", ""))
    if any(c != "s" for c in conversions) or len(conversions) > 1:
        fail(where, "only one %s and %% may appear: " + literal)
    # "\x96M" would read as one escape in C++: end the literal after each hex escape.
    return re.sub(r'(\\x[0-9a-fA-F]{2})(?=.)', r'\1" "', literal)


def read_source(path):
    table = None
    texts = []  # (keyword, [[element, oem2 or None], ...])
    with open(path, encoding="utf-8") as source:
        for number, raw in enumerate(source, 1):
            where = "%s:%d" % (path, number)
            line = raw.strip()
            if not line or line.startswith("#"):
                continue
            word = line.split(None, 1)[0]
            rest = line[len(word):].strip()
            if word == "table":
                table = rest
                continue
            if word == "text":
                texts.append((rest, []))
                continue
            if not texts:
                fail(where, "an element before the first text")
            elements = texts[-1][1]
            if word == "title":
                match = re.fullmatch(r'"([^"]*)" (\d+)', rest)
                if match is None:
                    fail(where, 'title "TITLE" DASHES')
                elements.append(['"\\n        \\t%s\\n"' % match.group(1), None])
                elements.append(['"        \\t%s\\n\\n"' % ("-" * int(match.group(2))), None])
            elif word == "description":
                elements.append([r'"\nDescription: \n"', None])
            elif word == "convention":
                elements.append([r'"\nConvention:   \n"', None])
            elif word == "block":
                if rest not in BLOCKS:
                    fail(where, "no block " + rest)
                elements.extend([[b, None] for b in BLOCKS[rest]])
            elif word == "oem2":
                if not re.fullmatch(LITERAL, rest) or not elements or elements[-1][1] is not None:
                    fail(where, "oem2 needs a literal and an element before it")
                elements[-1][1] = checked(where, rest)
            elif re.fullmatch(LITERAL, line):
                elements.append([checked(where, line), None])
            else:
                fail(where, "cannot read: " + line)
    if table is None:
        fail(path, "no table line")
    return table, texts


def write_table(path, table, texts):
    out = []
    out.append("// Help texts as data: written by scripts/gen-help-tables.py from\n")
    out.append("// scripts/help-texts/%s; change the source and run the script, never this file.\n"
               % os.path.basename(path).replace(".cpp", ".txt"))
    out.append("// Each row: the element for every OEM, then the OEM-2 wording where it differs.\n")
    out.append('#include "CpMgmt/CmdPro/Help/HelpText.h"\n\nnamespace {\n')
    for keyword, elements in texts:
        out.append("\nconst HelpLine %s_LINES[] = {\n" % keyword)
        for text, oem2 in elements:
            out.append("    {%s,\n     %s},\n" % (text, oem2) if oem2 else "    {%s, nullptr},\n" % text)
        out.append("};\n")
    out.append("\nconst HelpEntry ENTRIES[] = {\n")
    for keyword, _ in texts:
        out.append('    {"%s", {%s_LINES, sizeof %s_LINES / sizeof %s_LINES[0]}},\n' % (keyword, keyword, keyword, keyword))
    out.append("};\n\n}  // namespace\n\n")
    out.append("const HelpTable %s = {ENTRIES, sizeof ENTRIES / sizeof ENTRIES[0]};\n" % table)
    with open(path, "w", encoding="utf-8") as target:
        target.write("".join(out))


def main():
    for source in sorted(glob.glob("scripts/help-texts/*.txt")):
        table, texts = read_source(source)
        name = os.path.splitext(os.path.basename(source))[0]
        write_table("CpMgmt/CmdPro/Help/%s.cpp" % name, table, texts)


if __name__ == "__main__":
    main()
