#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Which of the console's topic files call each other.
#
# The console window (ConsoleDialog), its display (ConsoleDisplay) and its
# operations (ConsoleOperations) are each one class whose member functions
# live in files by topic. A topic file needs another when it calls (or takes
# the address of) a member function defined there. Two files that need each
# other are a circle: the piece they share belongs to one of them, or to a
# place of its own.
#
# Only the classes whose member functions are spread over several files are
# read. The graph comes from the names alone: a member function defined in
# one file and named followed by "(" (or as &Class::Name) in another is a
# call. Names defined in more than one file (overloads, OnTimer of several
# classes) are left out. Comments and string literals are not read.
#
# Usage: topic_calls.py [--root DIR] [--check] [--why]
#   (default)  prints every pair of files that call each other, with the
#              functions behind each direction
#   --check    exits 1 when one of the circles the layout has broken comes
#              back (KEPT_APART below) or another pair calls both ways
#              without its reason in KNOWN_PAIRS; prints the pairs either way
#   --why      with each direction, every function behind it (not only two)
import argparse
import collections
import os
import re
import subprocess
import sys

from check_layout import circles as strongly_connected

FOLDER = 'console'
# Groups of topic files that must not call each other in a circle: the
# command dispatch is the window's; the RIT/XIT offset is a frequency display
# of its own; the operator's input is one topic, the operation guard another;
# the control buttons do not reach back into the frequency entry, nor the
# memory keys into the memory modes.
KEPT_APART = (
    ('window/console_commands.cpp', 'window/console_dialog.cpp'),
    ('display/display_state_modes.cpp', 'display/frequency_display.cpp',
     'display/transmit_display.cpp'),
    ('operations/console_input.cpp', 'operations/console_operations.cpp'),
    ('operations/control_handlers.cpp', 'operations/frequency_entry.cpp'),
    ('operations/memory_keys.cpp', 'operations/memory_modes.cpp'),
)

# Pairs of topic files that call each other and are meant to: the two halves
# of one object's work, each half in the file of its subject. Any other pair
# that calls both ways fails --check until it is taken apart or named here
# with its reason.
KNOWN_PAIRS = {
    ('accessibility/console_accessibility.cpp', 'accessibility/control_names.cpp'):
        'the installer names the controls; naming watches the lamps it installs',
    ('connection/console_link.cpp', 'connection/radio_loss.cpp'):
        'the link opens and closes the line; the loss half notes it and closes on a loss',
    ('connection/power_state.cpp', 'display/transmit_display.cpp'):
        'power off ends the transmit display; a transmission cancels a pending operator mode',
    ('memory_table/memory_table_channels.cpp', 'memory_table/memory_table_view.cpp'):
        'the view shows the model; the model redraws the rows it changed',
    ('memory_table/memory_table_read_write.cpp', 'memory_table/memory_table_view.cpp'):
        'the view\'s buttons start a read or write; the engine redraws as it goes',
    ('sharing/backend_frequency.cpp', 'sharing/backend_mode.cpp'):
        'a mode belongs to a VFO; choosing the VFOs carries their modes',
}

# "Type Class::Name(" at the start of a line: a member function's definition.
DEFINITION = re.compile(r'^(?:[\w:<>,*&\s]*?[\s*&])?([A-Z]\w*)::(~?\w+)\s*\(', re.MULTILINE)
COMMENT_OR_STRING = re.compile(
    r'//[^\n]*|/\*.*?\*/|"(?:\\.|[^"\\\n])*"|\'(?:\\.|[^\'\\\n])*\'', re.DOTALL)


def source_files(root):
    try:
        out = subprocess.run(['git', 'ls-files', FOLDER], cwd=root, capture_output=True,
                             text=True, check=True).stdout.split()
    except (OSError, subprocess.CalledProcessError):
        out = []
        for folder, _dirs, names in os.walk(os.path.join(root, FOLDER)):
            out += [os.path.relpath(os.path.join(folder, n), root) for n in names]
    return sorted(f for f in out if f.endswith('.cpp') and '/tests/' not in f
                  and os.path.isfile(os.path.join(root, f)))


def blank(match):
    # Keeps the line structure (and so the definitions' line starts).
    return re.sub(r'[^\n]', ' ', match.group(0))


def read_sources(root):
    texts = {}
    for path in source_files(root):
        with open(os.path.join(root, path), encoding='utf-8', errors='replace') as f:
            texts[path[len(FOLDER) + 1:]] = COMMENT_OR_STRING.sub(blank, f.read())
    return texts


def call_graph(texts):
    """{caller: {callee: [function names]}} between the files."""
    classes = collections.defaultdict(set)
    found = []
    for path, text in texts.items():
        for match in DEFINITION.finditer(text):
            classes[match.group(1)].add(path)
            found.append((match.group(1), match.group(2), path))
    owners = collections.defaultdict(set)
    for cls, name, path in found:
        if len(classes[cls]) > 1:
            owners[name].add(path)
    graph = collections.defaultdict(dict)
    for name, where in sorted(owners.items()):
        if len(where) != 1 or name.startswith('~'):
            continue
        owner = next(iter(where))
        use = re.compile(r'(?:\b' + name + r'\s*\(|&\s*\w+::' + name + r'\b)')
        for path, text in texts.items():
            if path == owner:
                continue
            # A definition of the same name elsewhere is no call (it is an
            # overload: the name would then have two owners), so any match
            # here is a use.
            if use.search(text):
                graph[path].setdefault(owner, []).append(name)
    return graph


def mutual_pairs(graph):
    pairs = []
    for a in sorted(graph):
        for b in sorted(graph[a]):
            if a < b and a in graph.get(b, {}):
                pairs.append((a, b))
    return pairs


def circles(graph, files):
    """The circles inside `files`: its strongly connected parts."""
    inside = {a: [b for b in graph.get(a, {}) if b in files] for a in files}
    return strongly_connected(inside)

def names(graph, a, b, every):
    found = graph[a][b]
    return found if every else found[:2] + (['...'] if len(found) > 2 else [])


def main():
    parser = argparse.ArgumentParser(description='Which of the console topic files call each other.')
    parser.add_argument('--root', default='.')
    parser.add_argument('--check', action='store_true')
    parser.add_argument('--why', action='store_true')
    args = parser.parse_args()

    texts = read_sources(args.root)
    graph = call_graph(texts)
    pairs = mutual_pairs(graph)
    for a, b in pairs:
        print(f'{a} <-> {b}  {names(graph, a, b, args.why)} {names(graph, b, a, args.why)}')
    print(f'{len(pairs)} pairs call each other')

    if not args.check:
        return 0
    faults = []
    for group in KEPT_APART:
        missing = [f for f in group if f not in texts]
        if missing:
            faults.append(f'{", ".join(missing)}: not found (update KEPT_APART)')
            continue
        for part in circles(graph, set(group)):
            steps = []
            for a in part:
                for b in part:
                    if b in graph.get(a, {}):
                        steps.append(f'{a} -> {b} {graph[a][b]}')
            faults.append('circle again: ' + '; '.join(steps))
    for a, b in pairs:
        if (a, b) not in KNOWN_PAIRS and (b, a) not in KNOWN_PAIRS:
            faults.append(f'{a} <-> {b}: a new pair calling each other '
                          f'(take it apart, or add it to KNOWN_PAIRS with its reason)')
    for fault in faults:
        print(fault, file=sys.stderr)
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
