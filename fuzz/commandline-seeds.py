#!/usr/bin/env python3
"""Writes the seed corpus of the command-line target from the command lines of the tests.

Lines written as one text ("-LDGetNum -a0,1,1 ") and lines written as argument lists
({"-AdpAllInfo", "-aALL"}) are both taken; an argument list is joined the way the program
joins its arguments, each followed by one blank. Each seed is a file named by the SHA-1 of
its bytes, as libFuzzer names corpus entries.

Usage: commandline-seeds.py <source root> <corpus folder>
"""
import hashlib
import pathlib
import re
import sys

TEXT = re.compile(r'"(-[A-Za-z?][^"\\]*(?:\\.[^"\\]*)*)"')
ARGS = re.compile(r'\{\s*("(?:[^"\\]|\\.)*"(?:\s*,\s*"(?:[^"\\]|\\.)*")*)\s*\}')
STRING = re.compile(r'"((?:[^"\\]|\\.)*)"')


def unescape(text):
    return text.encode().decode("unicode_escape")


def lines_of(source):
    for match in TEXT.finditer(source):
        line = unescape(match.group(1))
        yield line if line.endswith(" ") else line + " "
    for match in ARGS.finditer(source):
        args = [unescape(a) for a in STRING.findall(match.group(1))]
        if args and args[0].lstrip("-")[:1].isalpha():
            yield "".join(a + " " for a in args)


def main():
    root, corpus = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    corpus.mkdir(parents=True, exist_ok=True)
    seen = set()
    for folder in ("tests/Parser", "tests/e2e", "bench"):
        for path in sorted((root / folder).rglob("*.cpp")):
            for line in lines_of(path.read_text(errors="replace")):
                data = line.encode()
                if b"\0" in data or data in seen:
                    continue
                seen.add(data)
                (corpus / hashlib.sha1(data).hexdigest()).write_bytes(data)
    print(f"{len(seen)} seeds in {corpus}")


if __name__ == "__main__":
    main()
