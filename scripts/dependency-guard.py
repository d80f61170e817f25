#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Fails, naming the Debian package, when the build or the tests use something
that scripts/install-deps.sh would not bring onto a new machine. A machine
where a package was once installed by hand builds and tests fine; a new
user's stops at the first command.

What is checked, each resolved to the package that owns it:
 - every file and folder that the configure step found (CMakeCache.txt);
 - every shared library that the built programs and tests load (ldd);
 - every program that the tests call (a shell command, a COMMAND of CMake,
   a program that C++ or Python starts, or an absolute path), and every
   Python module they import.
A package passes when it is in the dependency closure of install-deps.sh's
list (apt-cache depends --recurse, without recommends, as it installs) or of
the Essential packages and apt, which a minimal Debian root holds. A file
outside the repository that no package owns (pyenv, /usr/local, a copy made by
hand) fails as well.

usage: scripts/dependency-guard.py BUILD-DIR
"""
import glob
import os
import re
import shutil
import subprocess
import sys

ROOT = os.path.realpath(os.path.join(os.path.dirname(__file__), ".."))
TEST_FOLDERS = ("tests", "desktop", "man", "packaging")
# CMake entries that Qt's find modules fill when they probe for optional
# libraries (OpenGL's many flavours); the build goes on without them.
OPTIONAL_PROBES = re.compile(r"^(OPENGL_|Vulkan_|CMAKE_INSTALL_)")
# Folders that exist on every machine and no package owns alone.
PREFIXES = {"/", "/usr", "/usr/local", "/opt", "/usr/include", "/usr/lib", "/usr/share"}

# A word in a shell command's place; a lookahead, so that "; do localedef"
# yields both "do" (a keyword, passed over later) and "localedef".
SHELL_COMMAND = re.compile(
    r"(?=(?:^|[|;&(`]|\$\(|!\s|\b(?:then|do|else|exec|if|while|until|command -v|timeout [0-9.]+)\s)"
    r"\s*(?:[A-Z_]+=\S*\s+)*([a-z][a-z0-9_.+-]*))", re.M)
CMAKE_COMMAND = re.compile(r"\bCOMMAND\s+([a-z][a-z0-9_.+-]*)")
# C++: QProcess::start("curl", …), findExecutable("sqlite3"), tool("Xvfb").
CPP_PROGRAM = re.compile(r"""\b(?:start|startDetached|execute|findExecutable|tool)\(\s*"""
                         r'(?:QStringLiteral\(|QLatin1String\(|QString::fromLatin1\()?"([A-Za-z][A-Za-z0-9_.+-]*)"')
# Python: subprocess.run(["xdotool", …]).
PYTHON_PROGRAM = re.compile(r"""\[\s*["']([A-Za-z][A-Za-z0-9_.+-]*)["']""")
ABSOLUTE_PROGRAM = re.compile(r"(/(?:usr/)?s?bin/[A-Za-z0-9_.+-]+)")
# `import caldav`, `from x import y`, and `python3 -m radicale` as C++ writes it.
PYTHON_IMPORT = re.compile(r"(?:^|[\s;\"'])(?:import|from|-m\s*\"?,?\s*\"?)\s*([A-Za-z_][A-Za-z0-9_]*)", re.M)


def run(*command):
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout


def closure(packages):
    listing = run("apt-cache", "depends", "--recurse", "--no-recommends", "--no-suggests",
                  "--no-conflicts", "--no-breaks", "--no-replaces", "--no-enhances", *packages)
    return {line.split(":")[0] for line in listing.splitlines() if line and not line[0].isspace()
            and not line.startswith("<")}


def allowed_packages():
    listed = run("bash", os.path.join(ROOT, "scripts/install-deps.sh"), "--list").split()
    essential = [line.split()[0] for line in run("dpkg-query", "-W", "-f=${Package} ${Essential}\n").splitlines()
                 if line.endswith(" yes")]
    return closure(listed) | closure(essential + ["apt"])


def owners_by_path():
    """Every path dpkg knows, with the packages that own it."""
    owners = {}
    for listing in glob.glob("/var/lib/dpkg/info/*.list"):
        package = os.path.basename(listing)[:-len(".list")].split(":")[0]
        with open(listing, encoding="utf-8", errors="replace") as paths:
            for path in paths:
                owners.setdefault(path.rstrip("\n"), set()).add(package)
    return owners


def owners_of(path, owners):
    """The packages owning a path, tried as written, as its real path and in
    the other half of the merged /usr, where dpkg may have it registered."""
    candidates = []
    for name in (path, os.path.realpath(path)):
        candidates.append(name)
        if re.match(r"^/usr/(lib|bin|sbin)/", name):
            candidates.append(name[len("/usr"):])
        elif re.match(r"^/(lib|bin|sbin)/", name):
            candidates.append("/usr" + name)
    for name in candidates:
        if name in owners:
            return owners[name]
    return set()


def inside_project(path, build):
    real = os.path.realpath(path)
    return any(real == top or real.startswith(top + "/") for top in (ROOT, build))


def cache_paths(build):
    with open(os.path.join(build, "CMakeCache.txt"), encoding="utf-8") as cache:
        for line in cache:
            if line.startswith(("#", "//")) or "=" not in line or OPTIONAL_PROBES.match(line):
                continue
            for value in line.rstrip("\n").split("=", 1)[1].split(";"):
                if value.startswith("/") and os.path.exists(value) and value not in PREFIXES \
                        and not inside_project(value, build):
                    yield value


def loaded_libraries(build):
    for folder, subfolders, files in os.walk(build):
        subfolders[:] = [name for name in subfolders if name != "CMakeFiles"]
        for name in files:
            path = os.path.join(folder, name)
            if not os.access(path, os.X_OK) or os.path.islink(path):
                continue
            with open(path, "rb") as file:
                if file.read(4) != b"\x7fELF":
                    continue
            listing = subprocess.run(["ldd", path], capture_output=True, text=True).stdout
            yield from re.findall(r"(?:=> |^\s*)(/\S+) \(", listing, re.M)


def test_sources():
    for folder in TEST_FOLDERS:
        for top, subfolders, files in os.walk(os.path.join(ROOT, folder)):
            subfolders[:] = [name for name in subfolders if name != "corpus"]
            for name in files:
                if name.endswith((".sh", ".py", ".cpp", ".h", ".cmake")) or name == "CMakeLists.txt":
                    path = os.path.join(top, name)
                    with open(path, encoding="utf-8", errors="replace") as file:
                        text = "\n".join(line for line in file.read().splitlines()
                                         if not line.lstrip().startswith(("#", "//")))
                    yield name, text


def called_programs(build):
    """Programs the tests call, found where the tests look for them (PATH)."""
    names, paths = set(), set()
    for name, text in test_sources():
        paths.update(path for path in ABSOLUTE_PROGRAM.findall(text) if os.path.isfile(path))
        if name.endswith(".sh"):
            names.update(SHELL_COMMAND.findall(text))
        if name == "CMakeLists.txt" or name.endswith(".cmake"):
            names.update(CMAKE_COMMAND.findall(text))
            names.update(SHELL_COMMAND.findall(" ".join(re.findall(r'\bsh -c "([^"]*)"', text))))
        if name.endswith((".cpp", ".h")):
            names.update(CPP_PROGRAM.findall(text))
        if name.endswith(".py"):
            names.update(PYTHON_PROGRAM.findall(text))
    for name in names:
        path = shutil.which(name)
        if path and not inside_project(path, build) and not is_shell_word(name):
            paths.add(path)
    return paths


def is_shell_word(name):
    """bash's own keywords and builtins run no program, whatever PATH holds."""
    kind = subprocess.run(["bash", "-c", 'type -t -- "$1"', "-", name], capture_output=True, text=True).stdout
    return kind.strip() in ("keyword", "builtin")


def imported_modules():
    modules = set()
    for name, text in test_sources():
        if name.endswith((".py", ".cpp", ".sh")):
            modules.update(PYTHON_IMPORT.findall(text))
    finder = ("import importlib.util as u, sys\n"
              "for name in sys.argv[1:]:\n"
              "    try: spec = u.find_spec(name)\n"
              "    except Exception: spec = None\n"
              "    if spec and spec.origin and spec.origin.startswith('/'): print(spec.origin)\n")
    return run("/usr/bin/python3", "-c", finder, *sorted(modules)).split()


def main():
    build = os.path.realpath(sys.argv[1])
    allowed = allowed_packages()
    owners = owners_by_path()
    uses = {}
    for what, paths in (("the build (CMakeCache.txt)", cache_paths(build)),
                        ("a built program (ldd)", loaded_libraries(build)),
                        ("a test (program)", called_programs(build)),
                        ("a test (Python module)", imported_modules())):
        for path in paths:
            uses.setdefault(path, what)

    failures = []
    for path, what in sorted(uses.items()):
        packages = owners_of(path, owners)
        if not packages:
            failures.append(f"{path} ({what}) belongs to no Debian package: it was installed by hand, "
                            "and a new machine will not have it.")
        elif not packages & allowed:
            failures.append(f"{what} uses {path} from the Debian package {' or '.join(sorted(packages))}, "
                            "which scripts/install-deps.sh does not install: add it to the list there.")
    for failure in failures:
        print("dependency guard: " + failure, file=sys.stderr)
    if failures:
        print(f"dependency guard: {len(failures)} path(s) would be missing on a new machine.", file=sys.stderr)
        return 1
    print(f"dependency guard: all {len(uses)} paths that the build and the tests use come from "
          "packages that scripts/install-deps.sh installs.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
