#!/usr/bin/env python3
"""Holds src/ to the floors of the README's layout table.

Each folder of src/ is listed there with its floor and whether it holds windows. A file may
include its own folder and folders on lower floors only, so no include points up or round. A
widget-free folder names nothing of Qt's display modules (its library links Qt Core alone, so
the compiler refuses such an include anyway); in a window folder every file is window code:
it uses a display class itself or through a window header of the station.

It also holds the code to its names: no control name of the old forms is a C++ name (object
names in quotes stay, docs/glossary.md maps them), and no string-table entry is asked for by its
number (resources/StringIds.h names them).
"""
import glob
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
QT = "/usr/include/x86_64-linux-gnu/qt6"
DISPLAY_MODULES = ("QtGui", "QtWidgets", "QtCharts", "QtSvg", "QtPrintSupport")


def floors():
    """{folder: (floor, windows)} from the rows `| n | `src/x` | windows or no widgets | ... |`."""
    table = {}
    row = re.compile(r"^\|\s*(\d+)\s*\|\s*`src/([a-z]+)`\s*\|\s*(windows|no widgets)\s*\|")
    with open(os.path.join(ROOT, "README.md"), encoding="utf-8") as readme:
        for line in readme:
            m = row.match(line)
            if m:
                table[m.group(2)] = (int(m.group(1)), m.group(3) == "windows")
    return table


def display_classes():
    names = set()
    for module in DISPLAY_MODULES:
        for path in glob.glob(os.path.join(QT, module, "Q*")):
            name = os.path.basename(path)
            if re.fullmatch(r"Q[A-Za-z0-9]+", name):
                names.add(name)
    return names


# The old forms' control names: numbered defaults and the prefixes of their naming scheme.
OLD_CONTROL_NAME = re.compile(r"\b(mfg[A-Z]\w*|(?:Text|Command|Frame|Label|Picture|List|Combo|Check|Option|Timer|Shape|"
                              r"Image)\d\w*|CommLED\d*|PrgBar|Terminal|FrameStatus|(?:lbl|txt|cmd|frm|mnu|chk|opt|cbo|"
                              r"str)[A-Z]\w*)\b")
NUMBERED_STRING = re.compile(r"\b(ResourceString|ResourceText|ShowError)\([^;]*\b1\d{3}\b")


def names(path, text):
    """Old control names used as C++ names, and string-table entries asked for by number."""
    found = []
    for number, line in enumerate(text.split("\n"), 1):
        code = re.sub(r'"(\\.|[^"\\])*"', '""', line.split("//")[0])
        for m in OLD_CONTROL_NAME.finditer(code):
            found.append(f"{path}:{number}: {m.group(1)} is an old control name; name it for what it is")
        if NUMBERED_STRING.search(code):
            found.append(f"{path}:{number}: a string-table entry by number; use its StringId")
    return found


def main():
    table = floors()
    classes = display_classes()
    class_word = re.compile(r"\b(" + "|".join(sorted(classes)) + r")\b") if classes else None
    include = re.compile(r'^#include\s+"([a-z]+)/([A-Za-z0-9_]+\.h)"', re.M)
    problems = []
    texts = {}
    for path in sorted(glob.glob(os.path.join(ROOT, "src", "*", "*.[hc]*"))):
        folder = os.path.basename(os.path.dirname(path))
        with open(path, encoding="utf-8", errors="replace") as f:
            texts[(folder, os.path.basename(path))] = f.read()
    for folder in sorted({f for f, _ in texts}):
        if folder not in table:
            problems.append(f"src/{folder}: not in the README's layout table")
    # Window code: uses a display class, or includes a header of the station's that does.
    window = {key: bool(class_word and class_word.search(text)) for key, text in texts.items()}
    changed = True
    while changed:
        changed = False
        for key, text in texts.items():
            if window[key]:
                continue
            for m in include.finditer(text):
                if window.get((m.group(1), m.group(2))):
                    window[key] = changed = True
                    break
    for (folder, name), text in texts.items():
        if folder not in table:
            continue
        floor, windows = table[folder]
        for m in include.finditer(text):
            target = m.group(1)
            if target == folder or not os.path.isdir(os.path.join(ROOT, "src", target)):
                continue
            if target not in table:
                continue
            if table[target][0] >= floor:
                problems.append(f"src/{folder}/{name}: includes {target}/{m.group(2)}, on floor "
                                f"{table[target][0]}, not below {folder}'s floor {floor}")
        stem = os.path.splitext(name)[0]
        pair = [k for k in texts if k[0] == folder and os.path.splitext(k[1])[0] == stem]
        is_window = any(window[k] for k in pair)
        if name == "main.cpp":
            continue  # a program's entry, built over every library it needs, not its folder's
        if not windows and window[(folder, name)]:
            problems.append(f"src/{folder}/{name}: window code in a widget-free folder")
        if windows and not is_window:
            problems.append(f"src/{folder}/{name}: widget-free code in a window folder")
    for (folder, name), text in texts.items():
        problems += names(f"src/{folder}/{name}", text)
    for p in problems:
        print(p)
    if problems:
        print(f"{len(problems)} layout problem(s)")
        return 1
    print(f"layout: {len(texts)} files in {len(table)} folders keep to their floors and their names")
    return 0


if __name__ == "__main__":
    sys.exit(main())
