#!/usr/bin/env python3
"""Every `code` a command can answer is in the README: the codes are collected from where the
commands set them (setCode, a refusal's last argument, an outcome's code) and each must appear
there in backticks. A script that meets an unlisted code has nothing to go by."""
import glob
import os
import re
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
WORD = r'([a-z]+(?:-[a-z]+)*)'
PATTERNS = [
    re.compile(r'setCode\(\s*QStringLiteral\("' + WORD + r'"\)'),
    re.compile(r'\bcode\s*=\s*QStringLiteral\("' + WORD + r'"\)'),
    re.compile(r'QStringLiteral\("' + WORD + r'"\)\s*[)}]\s*;'),
    re.compile(r'[?:]\s*QStringLiteral\("' + WORD + r'-' + WORD + r'"\)'),
    re.compile(r'return\s+QStringLiteral\("' + WORD + r'"\)\s*;'),
]
# Where the commands' answers are made.
SOURCES = glob.glob(os.path.join(ROOT, "src", "core", "*.cpp")) + [
    os.path.join(ROOT, "src", "adapters", "ApplyReport.cpp")]
# JSON values of other keys that the same patterns meet: not codes.
NOT_CODES = {"address", "no-internet", "no-service", "service-error"}


def main():
    codes = {}
    for path in SOURCES:
        with open(path, encoding="utf-8") as f:
            text = f.read()
        for pattern in PATTERNS:
            for match in pattern.finditer(text):
                code = "-".join(g for g in match.groups() if g)
                codes.setdefault(code, os.path.relpath(path, ROOT))
    with open(os.path.join(ROOT, "README.md"), encoding="utf-8") as f:
        readme = f.read()
    missing = sorted(c for c in codes if c not in NOT_CODES and "`%s`" % c not in readme)
    for code in missing:
        print("code %s (%s) is not in the README" % (code, codes[code]))
    print("%d codes found, %d missing from the README" % (len(codes), len(missing)))
    return 1 if missing or len(codes) < 40 else 0


if __name__ == "__main__":
    sys.exit(main())
