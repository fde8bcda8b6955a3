#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the rules the tree's layout keeps, and prints the figures behind them:
#
#   names     every file name is snake_case (lower case, digits, underscores),
#             apart from the names other tools expect (CMakeLists.txt, README.md,
#             the manual pages named after the programs, Debian's own files)
#   includes  no circle in the include graph (which file includes which; a
#             header guard lets a circle compile, so nothing else finds one)
#   length    no source file longer than LONG_FILE lines unless a comment near
#             its top says why it is kept whole ("Kept whole: ...")
#   map       every file and folder ARCHITECTURE.md names in backticks exists
#
# Usage: check_layout.py [--root DIR] [--report]
# Exits 1 and says what broke when a rule does not hold; --report also prints
# the figures (files per folder, the longest files, module edges).
import argparse
import collections
import os
import re
import subprocess
import sys

LONG_FILE = 600
SOURCE_EXT = ('.cpp', '.h', '.py', '.sh', '.cmake')
# Names that other tools fix: the build system's, the documents', the programs'
# manual pages and Debian's packaging files.
FOREIGN_NAMES = re.compile(
    r'^(CMakeLists\.txt|CMakePresets\.json|README\.md|ARCHITECTURE\.md|LICENSE|'
    r'\.gitignore|\.clang-format|zephyra-(link|sim)\.1)$')
FOREIGN_FOLDERS = ('.ci/', 'debian/', 'link/fuzz/corpus/')
SNAKE = re.compile(r'^[a-z0-9_]+(\.[a-z0-9_]+)*$')
KEPT_WHOLE = re.compile(r'Kept whole:', re.IGNORECASE)
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.MULTILINE)


def tracked_files(root):
    try:
        out = subprocess.run(['git', 'ls-files', '--cached', '--others', '--exclude-standard'],
                             cwd=root, capture_output=True, text=True, check=True).stdout
        files = [f for f in out.splitlines() if os.path.isfile(os.path.join(root, f))]
        if files:
            return sorted(files)
    except (OSError, subprocess.CalledProcessError):
        pass
    files = []
    for folder, dirs, names in os.walk(root):
        dirs[:] = [d for d in dirs if not d.startswith(('.', 'obj-')) and d != 'build']
        for n in names:
            files.append(os.path.relpath(os.path.join(folder, n), root))
    return sorted(files)


def check_names(files):
    faults = []
    for f in files:
        if f.startswith(FOREIGN_FOLDERS):
            continue
        for part in f.split('/'):
            if not SNAKE.match(part) and not FOREIGN_NAMES.match(part):
                faults.append(f'{f}: "{part}" is not snake_case')
                break
    return faults


def include_graph(root, files):
    """Edges between tracked C++ files, from their #include lines. An include
    is resolved beside the including file first, then by its path's tail
    among the tracked headers; system and Qt headers resolve to nothing."""
    headers = [f for f in files if f.endswith('.h')]
    by_tail = collections.defaultdict(list)
    for h in headers:
        parts = h.split('/')
        for i in range(len(parts)):
            by_tail['/'.join(parts[i:])].append(h)
    edges = collections.defaultdict(set)
    for f in files:
        if not f.endswith(('.cpp', '.h')):
            continue
        with open(os.path.join(root, f), encoding='utf-8', errors='replace') as src:
            text = src.read()
        here = os.path.dirname(f)
        for _, name in INCLUDE.findall(text):
            beside = os.path.normpath(os.path.join(here, name))
            if beside in files:
                edges[f].add(beside)
                continue
            tail = os.path.normpath(name)
            found = by_tail.get(tail, [])
            if len(found) == 1:
                edges[f].add(found[0])
            elif found:
                # The same name in several folders: take the one nearest the
                # including file (the longest shared leading path).
                def shared(h):
                    return len(os.path.commonprefix([h.split('/'), f.split('/')]))
                edges[f].add(max(found, key=shared))
    return edges


def circles(edges):
    """Strongly connected components with more than one member, or a node
    that reaches itself."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []
    counter = [0]
    nodes = set(edges) | {w for ws in edges.values() for w in ws}

    def visit(v):
        # Iterative Tarjan: the include graph is deep enough in places to
        # trouble Python's recursion limit.
        work = [(v, iter(sorted(edges.get(v, ()))))]
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
                    work.append((w, iter(sorted(edges.get(w, ())))))
                    advanced = True
                    break
                if w in on_stack:
                    low[node] = min(low[node], index[w])
            if advanced:
                continue
            work.pop()
            if work:
                parent = work[-1][0]
                low[parent] = min(low[parent], low[node])
            if low[node] == index[node]:
                component = []
                while True:
                    w = stack.pop()
                    on_stack.discard(w)
                    component.append(w)
                    if w == node:
                        break
                if len(component) > 1 or node in edges.get(node, ()):
                    found.append(sorted(component))

    for v in sorted(nodes):
        if v not in index:
            visit(v)
    return found


def check_lengths(root, files):
    faults, lengths = [], []
    for f in files:
        if not f.endswith(SOURCE_EXT) or f.startswith(FOREIGN_FOLDERS):
            continue
        with open(os.path.join(root, f), encoding='utf-8', errors='replace') as src:
            lines = src.read().splitlines()
        lengths.append((len(lines), f))
        if len(lines) > LONG_FILE and not any(KEPT_WHOLE.search(l) for l in lines[:25]):
            faults.append(f'{f}: {len(lines)} lines and no "Kept whole:" reason at its top')
    return faults, sorted(lengths, reverse=True)


BACKTICKED = re.compile(r'`([^`\s]+)`')


def check_map(root, files):
    path = os.path.join(root, 'ARCHITECTURE.md')
    if not os.path.isfile(path):
        return ['ARCHITECTURE.md is missing'], 0
    with open(path, encoding='utf-8') as doc:
        text = doc.read()
    folders = {os.path.dirname(f) for f in files}
    folders |= {'/'.join(f.split('/')[:i]) for f in files for i in range(1, f.count('/') + 1)}
    faults, named = [], 0
    for token in BACKTICKED.findall(text):
        token = token.rstrip('.,:;')
        looks_like_file = re.search(r'\.(cpp|h|py|sh|md|txt|cmake|json)$', token) and '/' in token
        looks_like_folder = token.endswith('/') and re.match(r'^[a-z0-9_/.]+/$', token)
        if not (looks_like_file or looks_like_folder):
            continue
        named += 1
        if looks_like_file and token not in files:
            faults.append(f'ARCHITECTURE.md names `{token}`, which is not in the tree')
        if looks_like_folder and token.rstrip('/') not in folders:
            faults.append(f'ARCHITECTURE.md names the folder `{token}`, which is not in the tree')
    return faults, named


def main():
    parser = argparse.ArgumentParser(description='Checks the rules the layout keeps.')
    parser.add_argument('--root', default=os.path.join(os.path.dirname(__file__), '..'))
    parser.add_argument('--report', action='store_true')
    args = parser.parse_args()
    root = os.path.abspath(args.root)
    files = tracked_files(root)
    file_set = set(files)

    faults = check_names(files)
    edges = include_graph(root, file_set)
    for component in circles(edges):
        faults.append('include circle between files: ' + ' -> '.join(component))
    length_faults, lengths = check_lengths(root, files)
    faults += length_faults
    map_faults, named = check_map(root, file_set)
    faults += map_faults

    if args.report:
        per_folder = collections.Counter(os.path.dirname(f) for f in files
                                         if f.endswith(SOURCE_EXT))
        print('source files per folder:')
        for folder, count in sorted(per_folder.items()):
            print(f'  {count:4} {folder or "."}')
        print('longest source files:')
        for count, f in lengths[:15]:
            print(f'  {count:5} {f}')
        print(f'include edges: {sum(len(v) for v in edges.values())}; '
              f'ARCHITECTURE.md names {named} files and folders')
    for fault in faults:
        print(fault)
    if faults:
        print(f'{len(faults)} layout rule(s) broken')
        return 1
    print('layout: names, includes, lengths and ARCHITECTURE.md hold')
    return 0


if __name__ == '__main__':
    sys.exit(main())
