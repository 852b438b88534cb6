#!/usr/bin/env python3
"""Checks the #include graph of the program's sources.

Fails when
  - a folder includes a folder it must not: the dependencies point one way,
    astro <- model <- render <- command <- ui, with resources beside astro,
    render/layers a part of render, and render/x (the Xlib side) seen from ui
    only;
  - two folders include each other, directly or through others;
  - two modules of one folder (a module: a .h and its .cpp) include each
    other, directly or through others, unless the circle is in ALLOWED below.

Every circle found is listed with the include lines that make it. An entry
of either allow list that no longer matches anything fails too, so that the
lists only ever shrink.

Usage: check_include_graph.py [ROOT]    check the tree at ROOT (default: the
                                        tree this script is in)
       check_include_graph.py --self-test
"""

import os
import re
import sys
import tempfile

# The folders that hold the program, each with the folders it may include
# (its own always).
BELOW = {
    "astro": [],
    "resources": ["astro"],
    "model": ["astro", "resources"],
    "render": ["astro", "resources", "model", "render/layers"],
    "render/layers": ["astro", "resources", "model", "render"],
    "command": ["astro", "resources", "model", "render", "render/layers"],
    "render/x": ["astro", "resources", "model", "render", "render/layers"],
}
UI_FOLDERS = ["ui/app", "ui/window", "ui/dialogs", "ui/widgets"]
for _ui in UI_FOLDERS:
    BELOW[_ui] = [f for f in BELOW if f not in UI_FOLDERS] + UI_FOLDERS

# Circles of modules inside one folder that stay, each as the sorted tuple of
# its modules, with why. Keep it short.
ALLOWED = {
    # An Xt widget class: the private header (class and instance records)
    # includes the public one, and the widget's own code includes the private.
    ("ui/widgets/lite_clue", "ui/widgets/lite_clue_p"):
        "the public and private headers of one widget class",
}

# Includes left out of the circle between folders, each (file, included file)
# with why. Every entry is a circle still to be undone.
ALLOWED_FOLDER_EDGES = {
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
SOURCE_ENDINGS = (".h", ".cpp")


def module_of(path):
    """A module is a file name without its ending: a header and its source."""
    return os.path.splitext(path)[0]


def folder_of(path):
    return os.path.dirname(path)


def read_graph(root, skipped_edges=()):
    """Module-level edges {module: {included module: [include lines]}}, and the
    (file, included file) pairs of skipped_edges that were found and left out."""
    files = []
    for folder in BELOW:
        where = os.path.join(root, folder)
        if not os.path.isdir(where):
            continue
        for name in sorted(os.listdir(where)):
            if name.endswith(SOURCE_ENDINGS):
                files.append(folder + "/" + name)
    known = set(files)
    edges = {module_of(f): {} for f in files}
    skipped = set()
    for f in files:
        with open(os.path.join(root, f), encoding="utf-8", errors="replace") as text:
            for number, line in enumerate(text, 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                target = m.group(1)
                # Includes name a path from the root, or a file beside the includer.
                if target not in known:
                    beside = os.path.normpath(os.path.join(folder_of(f), target))
                    if beside not in known:
                        continue
                    target = beside
                if (f, target) in skipped_edges:
                    skipped.add((f, target))
                    continue
                a, b = module_of(f), module_of(target)
                if a != b:
                    edges[a].setdefault(b, []).append("%s:%d includes %s" % (f, number, m.group(1)))
    return edges, skipped


def circles(nodes, succ):
    """The strongly connected parts with more than one node (Tarjan), each sorted."""
    index, low, on_stack, stack, found = {}, {}, set(), [], []
    counter = [0]

    def visit(v):
        # Iterative, so that long chains do not reach Python's recursion limit.
        work = [(v, iter(sorted(succ.get(v, ()))))]
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on_stack.add(v)
        while work:
            node, children = work[-1]
            advanced = False
            for w in children:
                if w not in index:
                    index[w] = low[w] = counter[0]
                    counter[0] += 1
                    stack.append(w)
                    on_stack.add(w)
                    work.append((w, iter(sorted(succ.get(w, ())))))
                    advanced = True
                    break
                if w in on_stack:
                    low[node] = min(low[node], index[w])
            if advanced:
                continue
            work.pop()
            if work:
                low[work[-1][0]] = min(low[work[-1][0]], low[node])
            if low[node] == index[node]:
                part = []
                while True:
                    w = stack.pop()
                    on_stack.discard(w)
                    part.append(w)
                    if w == node:
                        break
                if len(part) > 1:
                    found.append(sorted(part))

    for v in sorted(nodes):
        if v not in index:
            visit(v)
    return sorted(found)


def check(root, allowed=None, allowed_edges=None):
    """The list of problems found in the tree at root; empty when it is sound."""
    allowed = ALLOWED if allowed is None else allowed
    allowed_edges = ALLOWED_FOLDER_EDGES if allowed_edges is None else allowed_edges
    edges, skipped = read_graph(root, allowed_edges)
    problems = []
    for edge in sorted(set(allowed_edges) - skipped):
        problems.append("allowed include %s -> %s is gone: drop it from ALLOWED_FOLDER_EDGES" % edge)

    folder_edges = {}
    for a, targets in edges.items():
        for b, lines in targets.items():
            fa, fb = folder_of(a), folder_of(b)
            if fa == fb:
                continue
            folder_edges.setdefault(fa, {}).setdefault(fb, []).extend(lines)
            if fb not in BELOW[fa]:
                problems.append("%s must not include %s: %s" % (fa, fb, "; ".join(lines)))

    for part in circles(set(BELOW), {f: set(t) for f, t in folder_edges.items()}):
        members = set(part)
        lines = [l for f in part for t, ls in sorted(folder_edges.get(f, {}).items()) if t in members for l in ls]
        problems.append("circle between folders %s:\n    %s" % (" ".join(part), "\n    ".join(lines)))

    inside = {a: {b for b in t if folder_of(b) == folder_of(a)} for a, t in edges.items()}
    found = circles(set(edges), inside)
    for part in sorted(set(allowed) - {tuple(p) for p in found}):
        problems.append("allowed circle %s is gone: drop it from ALLOWED" % " ".join(part))
    for part in found:
        if tuple(part) in allowed:
            continue
        members = set(part)
        lines = [l for m in part for t, ls in sorted(edges[m].items()) if t in members for l in ls]
        problems.append("circle of modules in %s: %s\n    %s" %
                        (folder_of(part[0]), " ".join(os.path.basename(m) for m in part), "\n    ".join(lines)))
    return problems


# Small trees, each a table {file: its includes}, with the allow lists the
# check runs with and what it must say: None when it passes, else a text its
# report holds.
NO_ALLOWED = ({}, {})
SELF_TEST_CASES = [
    ("a clean tree passes",
     {"astro/a.h": [], "model/m.h": ["astro/a.h"], "model/m.cpp": ["model/m.h"],
      "render/r.cpp": ["model/m.h"], "ui/app/u.cpp": ["render/r.h", "render/x/x.h"],
      "render/r.h": [], "render/x/x.h": ["render/r.h"]}, NO_ALLOWED, None),
    ("a header and its source are one module, not a circle",
     {"model/m.h": ["model/n.h"], "model/m.cpp": ["model/m.h"], "model/n.h": []}, NO_ALLOWED, None),
    ("the layers draw with render's canvas",
     {"render/layers/grids.cpp": ["render/canvas.h"], "render/canvas.h": []}, NO_ALLOWED, None),
    ("a model header including a render one breaks the one-way rule",
     {"model/m.h": ["render/r.h"], "render/r.h": []}, NO_ALLOWED, "model must not include render"),
    ("command must not see the Xlib side",
     {"command/c.cpp": ["render/x/x.h"], "render/x/x.h": []}, NO_ALLOWED, "command must not include render/x"),
    ("render and its layers in a circle through three files",
     {"render/frame.cpp": ["render/layers/status_bar.h"], "render/layers/status_bar.h": [],
      "render/layers/status_bar.cpp": ["render/services.h"], "render/services.h": [],
      "render/services.cpp": ["render/frame.h"], "render/frame.h": []}, NO_ALLOWED,
     "circle between folders render render/layers"),
    ("ui/app and ui/window include each other",
     {"ui/app/startup.cpp": ["ui/window/menus.h"], "ui/window/menus.h": [],
      "ui/window/menus.cpp": ["ui/app/startup.h"], "ui/app/startup.h": []}, NO_ALLOWED,
     "circle between folders ui/app ui/window"),
    ("an allowed include is left out of the folder circle",
     {"ui/app/startup.cpp": ["ui/window/menus.h"], "ui/window/menus.h": [],
      "ui/window/menus.cpp": ["ui/app/startup.h"], "ui/app/startup.h": []},
     ({}, {("ui/window/menus.cpp", "ui/app/startup.h"): ""}), None),
    ("an allowed include that is gone fails",
     {"ui/app/startup.cpp": ["ui/window/menus.h"], "ui/window/menus.h": []},
     ({}, {("ui/window/menus.cpp", "ui/app/startup.h"): ""}), "is gone"),
    ("two modules of one folder include each other",
     {"ui/window/main_window.h": [], "ui/window/main_window.cpp": ["ui/window/menus.h"],
      "ui/window/menus.h": [], "ui/window/menus.cpp": ["ui/window/main_window.h"]}, NO_ALLOWED,
     "circle of modules in ui/window: main_window menus"),
    ("an allowed circle inside a folder passes",
     {"ui/widgets/clue.cpp": ["ui/widgets/clue_p.h"], "ui/widgets/clue_p.h": ["ui/widgets/clue.h"],
      "ui/widgets/clue.h": []}, ({("ui/widgets/clue", "ui/widgets/clue_p"): ""}, {}), None),
    ("an allowed circle that is gone fails",
     {"ui/widgets/clue.cpp": ["ui/widgets/clue.h"], "ui/widgets/clue.h": []},
     ({("ui/widgets/clue", "ui/widgets/clue_p"): ""}, {}), "is gone"),
    ("an include beside the includer counts too",
     {"model/a.cpp": ["b.h"], "model/b.h": [], "model/b.cpp": ["a.h"], "model/a.h": []}, NO_ALLOWED,
     "circle of modules in model: a b"),
    ("system and unknown headers are not followed",
     {"model/a.cpp": ["X11/Xlib.h", "gtest/gtest.h"]}, NO_ALLOWED, None),
]


def self_test():
    failed = 0
    for name, tree, (allowed, allowed_edges), expected in SELF_TEST_CASES:
        with tempfile.TemporaryDirectory() as root:
            for path, includes in tree.items():
                os.makedirs(os.path.join(root, folder_of(path)), exist_ok=True)
                with open(os.path.join(root, path), "w") as f:
                    f.write("".join('#include "%s"\n' % i for i in includes))
            report = "\n".join(check(root, allowed, allowed_edges))
        if (expected is None and report) or (expected is not None and expected not in report):
            failed += 1
            print("FAILED: %s: expected %s, got: %s" % (name, expected or "no problem", report or "no problem"))
    print("%s: self-test %s" % (os.path.basename(sys.argv[0]), "failed" if failed else "passed"))
    return 1 if failed else 0


def main():
    if sys.argv[1:] == ["--self-test"]:
        return self_test()
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    problems = check(root)
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
