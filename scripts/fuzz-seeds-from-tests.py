#!/usr/bin/env python3
"""Writes the byte strings a reader's tests feed it as a fuzzer's seeds.

Usage: fuzz-seeds-from-tests.py OUT_DIR PATTERN SOURCE...

Every run of adjacent C++ string literals in the sources ("BEGIN:VCARD\\n"
"FN:..." counts as one) whose bytes match the regular expression PATTERN
becomes a file in OUT_DIR. The tests make their inputs in code, so this is
how the fuzzers start from the same inputs without a second copy of them.
"""
import os
import re
import sys

SIMPLE = {"n": b"\n", "r": b"\r", "t": b"\t", "\\": b"\\", '"': b'"', "'": b"'", "?": b"?", "a": b"\a",
          "b": b"\b", "f": b"\f", "v": b"\v"}


def literal(text, i):
    """The bytes of the literal whose opening quote is at i, and the index after it."""
    out = bytearray()
    i += 1
    while text[i] != '"':
        c = text[i]
        if c != "\\":
            out += c.encode()
            i += 1
            continue
        e = text[i + 1]
        if e == "x":  # as in C++, as many hex digits as follow
            j = i + 2
            while j < len(text) and text[j] in "0123456789abcdefABCDEF":
                j += 1
            out.append(int(text[i + 2:j], 16) & 0xFF)
            i = j
        elif e in "01234567":
            j = i + 1
            while j < min(i + 4, len(text)) and text[j] in "01234567":
                j += 1
            out.append(int(text[i + 1:j], 8) & 0xFF)
            i = j
        else:
            out += SIMPLE.get(e, e.encode())
            i += 2
    return bytes(out), i + 1


def groups(text):
    """Each run of adjacent string literals, as bytes."""
    i, run, last_end = 0, None, -1
    while i < len(text):
        c = text[i]
        if text.startswith("//", i):
            i = text.find("\n", i)
            i = len(text) if i < 0 else i
        elif text.startswith("/*", i):
            i = text.find("*/", i) + 2
        elif c == "'":  # a character literal, possibly '"'
            i = text.index("'", i + 2 if text[i + 1] == "\\" else i + 1) + 1
        elif c == '"' and not re.match(r"[A-Za-z0-9_]*R$", text[max(0, i - 3):i]):
            value, end = literal(text, i)
            if run is not None and text[last_end:i].strip() == "":
                run += value
            else:
                if run is not None:
                    yield run
                run = value
            last_end = i = end
        else:
            i += 1
    if run is not None:
        yield run


def main():
    out, pattern, sources = sys.argv[1], re.compile(sys.argv[2].encode()), sys.argv[3:]
    os.makedirs(out, exist_ok=True)
    count = 0
    for source in sources:
        with open(source, encoding="utf-8") as f:
            for value in groups(f.read()):
                if pattern.search(value):
                    count += 1
                    with open(os.path.join(out, f"{os.path.basename(source)}-{count}"), "wb") as seed:
                        seed.write(value)
    print(f"{count} seeds in {out}")


main()
