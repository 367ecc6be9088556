#!/usr/bin/env python3
"""Fails when a source file includes a header from a layer above its own.

The layers, lowest first, are the ones ARCHITECTURE.md lists on its line
starting "Layers, lowest first:". A file's layer is its folder's, except that
files under <folder>/platform/ are in the layer "platform" and files under
<folder>/ui/ in the layer "ui". A file may include
headers of its own layer and of the layers below it, except that windows
(the layer "ui") include no platform header: they reach the platform through
the application's wiring. Tests, benchmarks and the build's own files are not
checked.
Usage: check_layers.py [source root]
"""
import os
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent)
order_line = next((l for l in (root / "ARCHITECTURE.md").read_text().splitlines()
                   if l.startswith("Layers, lowest first:")), None)
if order_line is None:
    sys.exit("ARCHITECTURE.md has no line 'Layers, lowest first:'")
order = re.findall(r"`([a-z]+)`", order_line)
rank = {layer: i for i, layer in enumerate(order)}
unchecked = {"tests", "bench", "build", "build-asan", "build-fuzz", "cmake", "scripts", "resources"}


def layer_of(path):
    parts = path.parts
    if len(parts) == 1:
        return None
    if parts[0] in unchecked or parts[0].startswith("."):
        return None
    if len(parts) > 2 and parts[1] in ("platform", "ui"):
        return parts[1]
    return parts[0]


include = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
def sources():
    # Build folders hold generated sources of every layer: never walked.
    for folder, dirs, files in os.walk(root):
        dirs[:] = sorted(d for d in dirs
                         if not (pathlib.Path(folder) == root
                                 and (d in unchecked or d.startswith(("build", "dist", ".")))))
        for name in sorted(files):
            if name.endswith((".cpp", ".h")):
                yield pathlib.Path(folder) / name


faults = []
for path in sources():
    rel = path.relative_to(root)
    own = layer_of(rel)
    if own is None:
        continue
    if own not in rank:
        faults.append(f"{rel}: folder '{own}' is in no layer of ARCHITECTURE.md")
        continue
    for header in include.findall(path.read_text(errors="replace")):
        target = layer_of(pathlib.Path(header))
        if target is None or target not in rank:
            continue
        if rank[target] > rank[own]:
            faults.append(f"{rel}: includes {header} ({target} is above {own})")
        elif own == "ui" and target == "platform":
            faults.append(f"{rel}: a window includes the platform's {header}")
for fault in faults:
    print(fault)
sys.exit(1 if faults else 0)
