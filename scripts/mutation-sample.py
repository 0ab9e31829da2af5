#!/usr/bin/env python3
"""The mutants of scripts/mutation-sample.sh: finds the places in the
module's and the simulated host's sources (plugin/ and sim/, *.cpp, without
plugin/host/ and the Windows-only *_win32.cpp files) where one small change
can be made, picks a seeded sample of them, applies one, and keeps the
private copy of the tree the mutants are built in up to date.

  mutation-sample.py list --seed N --count N TREE          the sample, one a line:
                                                            PATH<TAB>LINE<TAB>CHANGE
  mutation-sample.py apply --seed N --count N TREE INDEX   mutates TREE with mutant
                                                            INDEX (1-based) of the sample
  mutation-sample.py sync SOURCE COPY [EXCLUDE...]         makes COPY hold what SOURCE
                                                            holds, rewriting only files
                                                            whose content differs

A site is known by its file's base name, the text of its line (and which of
the file's lines with that text it is) and its place in the line, never by
its folder or line number: the sample of a seed stays the same when files
move to other folders, or when lines are added elsewhere. The change at a
site is one of: '<' <-> '<=', '>' <-> '>=', '==' <-> '!=', '&&' <-> '||',
binary '+' <-> '-', an integer constant one more or one less, an if
condition negated, a statement line deleted. The sample takes the kinds in
turn, each kind's sites in the order of a hash of the seed and the site.
"""

import argparse
import filecmp
import hashlib
import os
import re
import shutil
import sys

KINDS = ["less", "greater", "equality", "logical", "additive", "constant", "condition", "statement"]

# Comments become spaces, and the insides of string and character literals
# '@', so that nothing in them looks like code; the line's length is kept.
LITERALS = re.compile(
    r"""//[^\n]*
      | /\*.*?\*/
      | R"(?P<delimiter>[^()\\\s]{0,16})\(.*?\)(?P=delimiter)"
      | "(?:\\.|[^"\\\n])*"
      | '(?:\\.|[^'\\\n])*'""",
    re.S | re.X,
)

# A binary operator written with a space either side (the project's format),
# so that template brackets, '->', '<<' and unary signs never match.
OPERATOR = re.compile(r"(?<= )(<=|>=|==|!=|&&|\|\||<|>|\+|-)(?= |$)")
SWAPS = {
    "<": ("less", "<="), "<=": ("less", "<"),
    ">": ("greater", ">="), ">=": ("greater", ">"),
    "==": ("equality", "!="), "!=": ("equality", "=="),
    "&&": ("logical", "||"), "||": ("logical", "&&"),
    "+": ("additive", "-"), "-": ("additive", "+"),
}
# A decimal integer constant, its suffix included; not part of a name, a
# floating-point number or a hexadecimal one.
INTEGER = re.compile(r"(?<![\w.'])(\d+)([uUlLzZ]*)(?![\w.'])")
IF = re.compile(r"\bif \(")
# A statement line that is an expression: a call, an assignment or an
# increment of a name (possibly qualified, a member, or an element).
EXPRESSION_STATEMENT = re.compile(
    r"^\s*(?:\+\+|--)?([A-Za-z_]\w*)(?:(?:::|\.|->)[A-Za-z_]\w*|\[[^\]]*\])*\s*"
    r"(?:\(|(?:[-+*/%|&^]|<<|>>)?=(?!=)|\+\+|--)"
)
KEYWORDS = {
    "return", "if", "else", "for", "while", "do", "switch", "case", "default", "break", "continue",
    "goto", "throw", "using", "typedef", "namespace", "static_assert", "delete", "new", "sizeof",
    "template", "typename", "friend", "public", "private", "protected", "operator", "decltype",
    "alignas", "assert", "co_return", "co_await", "co_yield", "static_cast", "const_cast",
    "reinterpret_cast", "dynamic_cast", "explicit", "virtual", "static", "const",
}


def masked(text):
    def blank(match):
        s = match.group(0)
        if s.startswith("/"):
            return re.sub(r"[^\n]", " ", s)
        return s[0] + re.sub(r"[^\n]", "@", s[1:-1]) + s[-1]
    return LITERALS.sub(blank, text)


def source_files(tree):
    """The files of the tree mutants are drawn from, as paths relative to it."""
    found = []
    for top in ("plugin", "sim"):
        for folder, dirs, files in os.walk(os.path.join(tree, top)):
            dirs.sort()
            relative = os.path.relpath(folder, tree)
            if relative.split(os.sep)[:2] == ["plugin", "host"]:
                dirs[:] = []
                continue
            for name in sorted(files):
                if name.endswith(".cpp") and not name.endswith("_win32.cpp"):
                    found.append(os.path.join(relative, name).replace(os.sep, "/"))
    return found


def linux_lines(code_lines):
    """Which lines are C++ compiled on Linux: not preprocessor lines, nor
    lines under '#if defined(_WIN32)' (or the '#else' of its opposite)."""
    live = []
    stack = []  # per open #if: is its current branch compiled on Linux
    continued = False
    for line in code_lines:
        stripped = line.strip()
        if continued or stripped.startswith("#"):
            continued = stripped.endswith("\\")
            directive = re.sub(r"\s+", " ", stripped.lstrip("#").strip())
            windows = re.fullmatch(r"(if|ifdef|ifndef|elif) (!?)\s*(defined\s*\(?\s*)?_WIN32\s*\)?", directive)
            if directive.startswith(("if ", "ifdef ", "ifndef ")):
                on = True
                if windows:
                    negated = windows.group(1) == "ifndef" or windows.group(2) == "!"
                    on = negated
                stack.append(on)
            elif directive.startswith("else") and stack:
                stack[-1] = not stack[-1]
            elif directive.startswith("elif") and stack:
                stack[-1] = windows is None or windows.group(2) == "!"
            elif directive.startswith("endif") and stack:
                stack.pop()
            live.append(False)
            continue
        live.append(all(stack))
    return live


def matching_paren(code, open_at):
    depth = 0
    for i in range(open_at, len(code)):
        if code[i] == "(":
            depth += 1
        elif code[i] == ")":
            depth -= 1
            if depth == 0:
                return i
    return -1


def balanced(code):
    return all(code.count(a) == code.count(b) for a, b in ("()", "[]", "{}"))


def short(text, width=60):
    text = " ".join(text.split())
    return text if len(text) <= width else text[: width - 3] + "..."


def sites_of(path, text):
    """Every site of one file: (kind, key, line index, column, old, new, change)."""
    name = os.path.basename(path)
    lines = text.split("\n")
    code_lines = masked(text).split("\n")
    live = linux_lines(code_lines)
    seen = {}
    previous_code = ""
    for number, (line, code) in enumerate(zip(lines, code_lines)):
        if not live[number] or not code.strip():
            continue
        occurrence = seen.get(line.strip(), 0)
        seen[line.strip()] = occurrence + 1
        base = (name, line.strip(), occurrence)
        starts_statement = previous_code == "" or previous_code[-1] in ";{}:"
        previous_code = code.rstrip()

        for index, match in enumerate(OPERATOR.finditer(code)):
            old = match.group(1)
            kind, new = SWAPS[old]
            start, end = match.span(1)
            if code[: start - 1].strip() and code[start - 2] == " ":
                continue  # more than one space before it: not this project's format
            if kind == "additive" and re.search(r'"|\bstd::(w?string|u8string)\b|\bpath\b', code):
                continue  # it may join strings or paths, which do not subtract
            yield kind, base + ("op", index), number, start, old, new, f"'{old}' -> '{new}'"

        if not re.match(r"\s*(case\b|static_assert\b|alignas\b|template\b)", code):
            for index, match in enumerate(INTEGER.finditer(code)):
                start, end = match.span()
                if code[start - 1 : start] == "<" or code[end : end + 1] == ">":
                    continue  # a template argument
                digits, suffix = match.groups()
                key = base + ("int", index)
                value = int(digits)
                down = value > 0 and int(hashlib.sha256(repr(key).encode()).hexdigest(), 16) % 2 == 1
                new = f"{value - 1 if down else value + 1}{suffix}"
                yield "constant", key, number, start, line[start:end], new, f"'{line[start:end]}' -> '{new}'"

        for index, match in enumerate(IF.finditer(code)):
            opening = match.end() - 1
            closing = matching_paren(code, opening)
            if closing < 0:
                continue  # the condition goes on past this line
            condition = code[opening + 1 : closing]
            inner = opening + 1
            depth = 0
            for i, c in enumerate(condition):  # after an init-statement's ';'
                depth += c in "([{"
                depth -= c in ")]}"
                if c == ";" and depth == 0:
                    inner = opening + 1 + i + 1
                    while inner < closing and code[inner] == " ":
                        inner += 1
            if re.search(r"(?<![=!<>+\-*/%&|^])=(?!=)", code[inner:closing]):
                continue  # a declaration or an assignment
            old = line[inner:closing]
            new = f"!({old})"
            yield "condition", base + ("if", index), number, inner, old, new, f"'if ({short(old, 50)})' -> 'if (!({short(old, 50)}))'"

        statement = EXPRESSION_STATEMENT.match(code)
        if (
            statement
            and starts_statement
            and code.rstrip().endswith(";")
            and statement.group(1) not in KEYWORDS
            and balanced(code)
            and code.count(";") == 1
        ):
            old = line.strip()
            start = line.index(old)
            yield "statement", base + ("delete",), number, start, old, "", f"delete '{short(old)}'"


def sample(tree, seed, count):
    by_kind = {kind: [] for kind in KINDS}
    for path in source_files(tree):
        with open(os.path.join(tree, path), encoding="utf-8", newline="") as f:
            text = f.read()
        for kind, key, number, column, old, new, change in sites_of(path, text):
            rank = hashlib.sha256(f"{seed}\0{key!r}".encode()).hexdigest()
            by_kind[kind].append((rank, path, number, column, old, new, change))
    for sites in by_kind.values():
        sites.sort()
    chosen = []
    turn = 0
    while len(chosen) < count and any(by_kind.values()):
        sites = by_kind[KINDS[turn % len(KINDS)]]
        if sites:
            chosen.append(sites.pop(0))
        turn += 1
    chosen.sort(key=lambda site: (site[1], site[2], site[3]))
    return [site[1:] for site in chosen]


def apply(tree, mutant):
    path, number, column, old, new, _ = mutant
    full = os.path.join(tree, path)
    with open(full, encoding="utf-8", newline="") as f:
        lines = f.read().split("\n")
    line = lines[number]
    if line[column : column + len(old)] != old:
        sys.exit(f"mutation-sample: {path}:{number + 1} does not hold '{old}' at column {column + 1}")
    lines[number] = line[:column] + new + line[column + len(old) :]
    with open(full, "w", encoding="utf-8", newline="") as f:
        f.write("\n".join(lines))


def sync(source, copy, excluded):
    """Makes copy hold the files of source, but for the top-level entries
    named build*, .git and .cache and the excluded paths. A file whose content
    differs is written afresh (with a new time, so that the build redoes what
    uses it); files that are the same are left alone."""
    excluded = {os.path.realpath(path) for path in excluded}

    def skipped(folder, name):
        path = os.path.join(folder, name)
        if os.path.realpath(path) in excluded:
            return True
        return folder == source and (name.startswith("build") or name in (".git", ".cache"))

    def walk(src, dst):
        os.makedirs(dst, exist_ok=True)
        names = [name for name in os.listdir(src) if not skipped(src, name)]
        for name in os.listdir(dst):
            if name not in names:
                target = os.path.join(dst, name)
                if os.path.isdir(target) and not os.path.islink(target):
                    shutil.rmtree(target)
                else:
                    os.remove(target)
        for name in names:
            s, d = os.path.join(src, name), os.path.join(dst, name)
            if os.path.islink(s):
                if not os.path.islink(d) or os.readlink(d) != os.readlink(s):
                    if os.path.lexists(d):
                        shutil.rmtree(d) if os.path.isdir(d) and not os.path.islink(d) else os.remove(d)
                    os.symlink(os.readlink(s), d)
            elif os.path.isdir(s):
                if os.path.lexists(d) and not os.path.isdir(d):
                    os.remove(d)
                walk(s, d)
            else:
                if os.path.isdir(d) and not os.path.islink(d):
                    shutil.rmtree(d)
                if not os.path.lexists(d) or os.path.islink(d) or not filecmp.cmp(s, d, shallow=False):
                    if os.path.lexists(d):
                        os.remove(d)
                    shutil.copyfile(s, d)
                    shutil.copymode(s, d)

    walk(os.path.realpath(source), copy)


def main():
    parser = argparse.ArgumentParser(description="The mutants of scripts/mutation-sample.sh.")
    commands = parser.add_subparsers(dest="command", required=True)
    for name in ("list", "apply"):
        command = commands.add_parser(name)
        command.add_argument("--seed", type=int, default=1)
        command.add_argument("--count", type=int, default=64)
        command.add_argument("tree")
        if name == "apply":
            command.add_argument("index", type=int)
    command = commands.add_parser("sync")
    command.add_argument("source")
    command.add_argument("copy")
    command.add_argument("excluded", nargs="*")
    arguments = parser.parse_args()

    if arguments.command == "sync":
        sync(arguments.source, arguments.copy, arguments.excluded)
        return
    mutants = sample(arguments.tree, arguments.seed, arguments.count)
    if arguments.command == "list":
        for path, number, _, _, _, change in mutants:
            print(f"{path}\t{number + 1}\t{change}")
    else:
        if not 1 <= arguments.index <= len(mutants):
            sys.exit(f"mutation-sample: no mutant {arguments.index} (the sample has {len(mutants)})")
        apply(arguments.tree, mutants[arguments.index - 1])


if __name__ == "__main__":
    main()
