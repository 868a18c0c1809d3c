#!/usr/bin/env python3
"""Writes CpMgmt/CmdPro/Help/UsageText.cpp, the table of the full usage text, from
scripts/usage-text.txt.

The source holds one usage line per text line, numbered in printing order:
    N. "text"
    N. OEM 2: "text for OEM 2"; other OEM: "text for every other OEM"
Texts are written with C escapes (\\n, \\t, \\xNN); they are copied byte for byte, and a \\xNN
escape is closed off so that a following letter cannot extend it. A text may hold at most one
"%s" (the program name) and "%%"; any other conversion stops the script.

Run from the repository root:  scripts/gen-usage-table.py
"""
import re
import sys

SOURCE = "scripts/usage-text.txt"
TARGET = "CpMgmt/CmdPro/Help/UsageText.cpp"

LINE = re.compile(r'^(\d+)\. (?:OEM 2: ("(?:[^"\\]|\\.)*"); other OEM: ("(?:[^"\\]|\\.)*")|("(?:[^"\\]|\\.)*"))\s*$')


def check_conversions(number, literal):
    conversions = re.findall(r"%(.)", literal.replace("%%", ""))
    if any(c != "s" for c in conversions) or len(conversions) > 1:
        sys.exit("line %d: only one %%s and %%%% may appear: %s" % (number, literal))


def closed_escapes(literal):
    # "\x96M" would read as one escape in C++: end the literal after each hex escape.
    return re.sub(r'(\\x[0-9a-fA-F]{2})(?=.)', r'\1" "', literal)


def main():
    rows = []
    expected = 1
    with open(SOURCE, encoding="utf-8") as source:
        for text in source:
            match = LINE.match(text.rstrip("\n"))
            if match is None:
                sys.exit("cannot read: " + text)
            number = int(match.group(1))
            if number != expected:
                sys.exit("line %d where %d was expected" % (number, expected))
            expected += 1
            if match.group(4) is not None:
                check_conversions(number, match.group(4))
                rows.append("    {%s, nullptr}," % closed_escapes(match.group(4)))
            else:
                check_conversions(number, match.group(2))
                check_conversions(number, match.group(3))
                rows.append("    {%s,\n     %s}," % (closed_escapes(match.group(3)), closed_escapes(match.group(2))))
    with open(TARGET, "w", encoding="utf-8") as target:
        target.write("// The full usage text, one element per row: written by scripts/gen-usage-table.py from\n")
        target.write("// scripts/usage-text.txt; change the source and run the script, never this file.\n")
        target.write("// Each row: the text for every OEM, then the OEM-2 wording where it differs.\n")
        target.write('#include "CpMgmt/CmdPro/Help/HelpText.h"\n\n')
        target.write("namespace {\n\nconst HelpLine USAGE_LINES[] = {\n")
        target.write("\n".join(rows))
        target.write("\n};\n\n}  // namespace\n\n")
        target.write("const HelpText USAGE_TEXT = {USAGE_LINES, sizeof USAGE_LINES / sizeof USAGE_LINES[0]};\n")


if __name__ == "__main__":
    main()
