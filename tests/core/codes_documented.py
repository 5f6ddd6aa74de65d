#!/usr/bin/env python3
"""Every `code` a command can answer comes from the one list of codes (src/adapters/AnswerCode.h)
and is in the README: each code of the list must appear there in backticks and be given
somewhere, and no command may write a code of its own where it gives it (setCode, a refusal's
last argument, an outcome's code). A script that meets an unlisted code has nothing to go by."""
import glob
import os
import re
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
LIST = os.path.join(ROOT, "src", "adapters", "AnswerCode.h")
ENTRY = re.compile(r'inline const QString (\w+) = QStringLiteral\("([a-z]+(?:-[a-z]+)*)"\);')
WORD = r'([a-z]+(?:-[a-z]+)*)'
# Where a code is given: a literal there is a code written outside the list.
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
    with open(LIST, encoding="utf-8") as f:
        codes = dict(ENTRY.findall(f.read()))
    with open(os.path.join(ROOT, "README.md"), encoding="utf-8") as f:
        readme = f.read()
    given = ""
    for path in glob.glob(os.path.join(ROOT, "src", "*", "*.cpp")):
        with open(path, encoding="utf-8") as f:
            given += f.read()
    faults = ["code %s is not in the README" % c for c in codes.values()
              if "`%s`" % c not in readme]
    faults += ["code %s (AnswerCode::%s) is never given" % (c, name)
               for name, c in codes.items() if "AnswerCode::%s" % name not in given]
    for path in SOURCES:
        with open(path, encoding="utf-8") as f:
            text = f.read()
        for pattern in PATTERNS:
            for match in pattern.finditer(text):
                code = "-".join(g for g in match.groups() if g)
                if code not in NOT_CODES:
                    faults.append("code %s is written in %s, not taken from AnswerCode.h"
                                  % (code, os.path.relpath(path, ROOT)))
    for fault in faults:
        print(fault)
    print("%d codes listed, %d faults" % (len(codes), len(faults)))
    return 1 if faults or len(codes) < 40 else 0


if __name__ == "__main__":
    sys.exit(main())
