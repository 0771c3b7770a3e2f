#!/usr/bin/env python3
"""Checks a manual page against the --help of the program it documents.

    check-manpage.py PAGE PROGRAM [--subcommands]

Runs PROGRAM --help (and, with --subcommands, PROGRAM SUB --help for every subcommand that the
top-level help lists) and fails, naming what is missing, unless every long option of every help
text and every subcommand appears in PAGE. The page must also format without a warning, as
lintian formats it. So whoever adds an option to a program learns here that its page needs it.

The programs run with no display and with COM1..COM4 pointing at paths that cannot exist, so
that a --help that is not answered never reaches a window or a port.
"""

import os
import re
import subprocess
import sys

HELP_TIMEOUT_S = 20
SKIP = 77  # CTest's SKIP_RETURN_CODE for these tests

OPTION = re.compile(r"(?<![\w-])--[a-z0-9][a-z0-9-]*")


def fail(message):
    print(f"check-manpage: {message}", file=sys.stderr)
    sys.exit(1)


def run_help(argv):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    for n in range(1, 5):
        env[f"VEXLINK_COM{n}"] = f"/nonexistent/vexlink-manpage-check/COM{n}"
    try:
        done = subprocess.run(argv, env=env, stdin=subprocess.DEVNULL, capture_output=True,
                              text=True, timeout=HELP_TIMEOUT_S)
    except subprocess.TimeoutExpired:
        fail(f"'{' '.join(argv)}' did not end within {HELP_TIMEOUT_S} s: --help must answer "
             "without opening a window or a port")
    if done.returncode != 0:
        fail(f"'{' '.join(argv)}' exited with status {done.returncode}:\n{done.stderr}")
    return done.stdout


def page_text(page):
    """The page's words as a reader sees them: roff escapes for hyphens and fonts removed."""
    with open(page, encoding="utf-8") as f:
        text = f.read()
    text = re.sub(r"\\f(\[[^]]*\]|\(..|.)", "", text)
    return text.replace("\\-", "-").replace("\\(aq", "'").replace("\\&", "")


def subcommands(top_help):
    """The names listed, two spaces in, under the help's 'subcommands:' heading."""
    names = []
    listing = False
    for line in top_help.splitlines():
        if re.match(r"^\s*subcommands\s*:", line, re.IGNORECASE):
            listing = True
            continue
        if listing:
            m = re.match(r"^  ([a-z][a-z0-9-]*)(\s{2,}|$)", line)
            if m:
                names.append(m.group(1))
            elif line.strip():
                if not line.startswith("   "):
                    listing = False
    return names


def formatting_warnings(page):
    env = dict(os.environ, LC_ALL="C.UTF-8", MANROFFSEQ="", MANWIDTH="80")
    done = subprocess.run(["man", "--warnings", "-E", "UTF-8", "-l", "-Tutf8", "-Z", page],
                          env=env, capture_output=True, text=True)
    return done.stderr.strip() if done.returncode == 0 else (done.stderr.strip() or "man failed")


def main():
    args = sys.argv[1:]
    with_subcommands = "--subcommands" in args
    args = [a for a in args if a != "--subcommands"]
    if len(args) != 2:
        fail("usage: check-manpage.py PAGE PROGRAM [--subcommands]")
    page, program = args
    name = os.path.basename(program)
    words = page_text(page)

    def mentioned(word):
        return re.search(r"(?<![\w-])" + re.escape(word) + r"(?![\w-])", words) is not None

    top = run_help([program, "--help"])
    helps = {f"{name} --help": top}
    missing = []
    if with_subcommands:
        subs = subcommands(top)
        if not subs:
            fail(f"'{name} --help' lists no subcommands")
        for sub in subs:
            if not mentioned(sub):
                missing.append(f"the subcommand '{sub}'")
            helps[f"{name} {sub} --help"] = run_help([program, sub, "--help"])

    for source, text in helps.items():
        for option in sorted(set(OPTION.findall(text))):
            if not mentioned(option):
                missing.append(f"{option} (from '{source}')")

    problems = []
    if missing:
        problems.append(f"{os.path.basename(page)} does not describe:\n  " + "\n  ".join(missing))
    warnings = formatting_warnings(page)
    if warnings:
        problems.append(f"{os.path.basename(page)} formats with warnings:\n{warnings}")
    if problems:
        fail("\n".join(problems))
    print(f"{os.path.basename(page)}: all of {', '.join(helps)} described")


if __name__ == "__main__":
    main()
