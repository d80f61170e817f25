#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The planner side by side with the desktop diaries users would pick instead.

Under Xvfb with openbox, in interleaved rounds, for the planner, RedNotebook,
Zim and a bare Qt window: the time from spawning the process until its main
window is mapped, the peak resident memory, and, after typing a line into it,
the time until that line is in its files. Then the planner's own keystroke
path under strace against an append + fdatasync floor in the same folder.
Writes a Markdown section and the data of the plot.
"""
import argparse
import os
import re
import select
import statistics
import subprocess
import sys
import time

from Xlib import X, display

LINE = "bench line: call the dentist at ten"
# How long the files are watched for the typed line; PEERS_DISK_WAIT_S shortens a trial run.
DISK_WAIT_S = int(os.environ.get("PEERS_DISK_WAIT_S", "65"))
LOSS_AFTER_S = (1, 10, 60)


class Program:
    def __init__(self, name, command, click=None, keys=(), data=None, prepare=None):
        self.name = name
        self.command = command  # a function of the run's home folder
        self.click = click      # where to click before typing, as fractions of the window; None: no typing
        self.keys = keys        # keys pressed after the click
        self.data = data        # the folder its notes are written to, a function of home
        self.prepare = prepare
        self.runs = []


def zim_notebook(home):
    folder = os.path.join(home, "notebook")
    os.makedirs(folder)
    with open(os.path.join(folder, "notebook.zim"), "w") as f:
        f.write("[Notebook]\nversion=0.4\nname=Bench\nhome=Home\n")


def rednotebook_journal(home):
    os.makedirs(os.path.join(home, "journal"))


def programs(planner, bare):
    return [
        Program("Tavorin Planner", lambda h: [planner], click=(0.25, 0.50),
                data=lambda h: os.path.join(h, "data", "Quillmere")),
        Program("RedNotebook", lambda h: ["rednotebook", os.path.join(h, "journal")], click=(0.65, 0.50),
                data=lambda h: os.path.join(h, "journal"), prepare=rednotebook_journal),
        Program("Zim", lambda h: ["zim", os.path.join(h, "notebook")], click=(0.65, 0.75), keys=("ctrl+End",),
                data=lambda h: os.path.join(h, "notebook"), prepare=zim_notebook),
        Program("bare Qt 6 window", lambda h: [bare]),
    ]


def environment(home, x_display):
    env = dict(os.environ)
    for name in ("QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"):
        env.pop(name, None)
    env.update(HOME=home, XDG_DATA_HOME=os.path.join(home, "data"), XDG_CONFIG_HOME=os.path.join(home, "config"),
               XDG_CACHE_HOME=os.path.join(home, "cache"), DISPLAY=x_display, LANG="C.UTF-8",
               LC_ALL="C.UTF-8", NO_AT_BRIDGE="1")
    return env


def start_x(folder):
    # A high display number of its own: other X servers on the machine come and go at the low ones.
    number = next(n for n in range(400 + os.getpid() % 300, 1000) if not os.path.exists(f"/tmp/.X{n}-lock"))
    server = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                              stderr=subprocess.DEVNULL)
    while not os.path.exists(f"/tmp/.X11-unix/X{number}"):
        time.sleep(0.05)
    x_display = f":{number}"
    manager = subprocess.Popen(["openbox"], env=dict(os.environ, DISPLAY=x_display, HOME=folder),
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(1.0)
    return x_display, [manager, server]


def wait_for_map(conn, deadline):
    """The moment a window that is not a menu or tooltip is mapped."""
    while time.monotonic() < deadline:
        while conn.pending_events():
            event = conn.next_event()
            if event.type == X.MapNotify and not event.override:
                return time.monotonic()
        select.select([conn.fileno()], [], [], 0.005)
    raise RuntimeError("no window mapped")


def peak_kib(pid):
    try:
        with open(f"/proc/{pid}/status") as status:
            for line in status:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return None


def found_in(folder, marker):
    for root, _, files in os.walk(folder):
        for name in files:
            try:
                with open(os.path.join(root, name), "rb") as f:
                    if marker in f.read():
                        return True
            except OSError:
                pass
    return False


def xdotool(env, *arguments):
    return subprocess.run(["xdotool", *arguments], env=env, capture_output=True, text=True, check=True).stdout


def main_window(env, criteria):
    for _ in range(600):
        found = subprocess.run(["xdotool", "search", "--onlyvisible", *criteria], env=env, capture_output=True,
                               text=True).stdout.split()
        if found:
            return found[0]
        time.sleep(0.05)
    raise RuntimeError(f"no window {criteria}")


def run_once(program, folder, x_display, index):
    home = os.path.join(folder, f"{program.name.split()[0].lower()}-{index}")
    os.makedirs(home)
    if program.prepare:
        program.prepare(home)
    env = environment(home, x_display)
    conn = display.Display(x_display)
    conn.screen().root.change_attributes(event_mask=X.SubstructureNotifyMask)
    conn.sync()
    started = time.monotonic()
    process = subprocess.Popen(program.command(home), env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    run = {"startup_ms": (wait_for_map(conn, started + 60) - started) * 1000}
    conn.close()
    if program.click:
        window = main_window(env, ["--pid", str(process.pid)])
        geometry = dict(line.split("=") for line in xdotool(env, "getwindowgeometry", "--shell", window).split())
        x = int(int(geometry["WIDTH"]) * program.click[0])
        y = int(int(geometry["HEIGHT"]) * program.click[1])
        time.sleep(0.5)  # the window takes input once it has settled
        xdotool(env, "windowactivate", "--sync", window, "mousemove", "--window", window, str(x), str(y), "click", "1")
        if program.keys:
            xdotool(env, "key", *program.keys)
        xdotool(env, "type", "--delay", "20", LINE)
        typed = time.monotonic()
        marker = LINE.encode()
        run["disk_s"] = None
        while time.monotonic() - typed < DISK_WAIT_S:
            if found_in(program.data(home), marker):
                run["disk_s"] = time.monotonic() - typed
                break
            time.sleep(0.01)
        run["peak_kib"] = peak_kib(process.pid)
        process.kill()
        process.wait()
    else:
        # The bare window prints its peak memory at its first paint and quits.
        output, _ = process.communicate(timeout=30)
        run["peak_kib"] = int(output.split()[1])
    program.runs.append(run)


# strace, one syscall per line: "PID HH:MM:SS.ffffff name(args) = result <duration>",
# possibly split into "<unfinished ...>" and "<... name resumed>".
SYSCALL = re.compile(r"^(\d+)\s+(\d+):(\d+):([\d.]+) (?:<\.\.\. (\w+) resumed>|(\w+)\()(.*)$")


def syscalls(path):
    """(name, start s, return s, text) of every finished syscall in an strace log."""
    unfinished = {}
    calls = []
    with open(path, errors="replace") as log:
        for line in log:
            match = SYSCALL.match(line)
            if not match:
                continue
            pid, hours, minutes, seconds, resumed, name, rest = match.groups()
            moment = int(hours) * 3600 + int(minutes) * 60 + float(seconds)
            if resumed:
                if pid not in unfinished:
                    continue
                name, moment, head = unfinished.pop(pid)
                rest = head + rest
            elif rest.endswith("<unfinished ...>"):
                unfinished[pid] = (name, moment, rest)
                continue
            duration = re.search(r"<([\d.]+)>\s*$", rest)
            if duration:
                calls.append((name, moment, moment + float(duration.group(1)), rest))
    return calls


def has_key_press(text):
    """Whether bytes an X client read hold a key press (core or XInput 2)."""
    hex_bytes = re.findall(r'iov_base="((?:\\x[0-9a-f]{2})*)"', text)
    data = bytes.fromhex("".join(hex_bytes).replace("\\x", ""))
    offset = 0
    while offset + 32 <= len(data):
        code = data[offset] & 0x7F
        if code == 2:
            return True
        length = 32
        if code in (1, 35):
            length += 4 * int.from_bytes(data[offset + 4:offset + 8], "little")
            if code == 35 and int.from_bytes(data[offset + 8:offset + 10], "little") == 2:
                return True
        offset += length
    return False


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(fraction * (len(ordered) - 1))))]


def keystroke_path(planner, folder, x_display, keystrokes):
    home = os.path.join(folder, "keystrokes")
    os.makedirs(home)
    env = environment(home, x_display)
    trace = os.path.join(folder, "planner.strace")
    process = subprocess.Popen(["strace", "-f", "--seccomp-bpf", "-tt", "-T", "-xx", "-s", "4096",
                                "-e", "trace=recvmsg,fdatasync,fsync", "-o", trace, planner], env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    window = main_window(env, ["--name", "Tavorin Planner"])
    time.sleep(1.0)
    xdotool(env, "windowactivate", "--sync", window, "mousemove", "--window", window, "238", "290", "click", "1")
    time.sleep(0.5)
    letters = "abcdefghijklmnopqrstuvwxyz "
    xdotool(env, "type", "--delay", "80", "".join(letters[i % len(letters)] for i in range(keystrokes)))
    time.sleep(1.0)
    os.kill(int(xdotool(env, "getwindowpid", window)), 15)  # strace ends with its program
    process.wait()
    calls = syscalls(trace)
    presses = [end for name, _, end, text in calls if name == "recvmsg" and has_key_press(text)]
    syncs = [end for name, _, end, _ in calls if name in ("fdatasync", "fsync")]
    latencies, counts = [], []
    for i, pressed in enumerate(presses):
        following = presses[i + 1] if i + 1 < len(presses) else float("inf")
        mine = [end for end in syncs if pressed < end < following]
        counts.append(len(mine))
        if mine:
            latencies.append((mine[-1] - pressed) * 1000)

    # The floor: what one keystroke's two values cost appended to a file with
    # fdatasync each, in the store's own folder, under the same strace.
    floor_file = os.path.join(home, "data", "Quillmere", "floor.log")
    floor_trace = os.path.join(folder, "floor.strace")
    script = ("import os,sys\nfd=os.open(sys.argv[1],os.O_WRONLY|os.O_CREAT|os.O_APPEND,0o600)\n"
              "for i in range(int(sys.argv[2])):\n"
              " os.write(fd,b'August_2021_txtNote_9='+b'x'*(i%200)+b'\\n'); os.fdatasync(fd)\n"
              " os.write(fd,b'August_2021_txtNoteColor_9=255\\n'); os.fdatasync(fd)\n")
    subprocess.run(["strace", "-f", "--seccomp-bpf", "-tt", "-T", "-e", "trace=write,fdatasync", "-o", floor_trace,
                    sys.executable, "-c", script, floor_file, str(keystrokes)], check=True)
    floor_calls = [c for c in syscalls(floor_trace)
                   if c[0] == "fdatasync" or (c[0] == "write" and "August_2021_txtNote" in c[3])]
    floor = ([], [])  # one value, two values
    for i in range(0, len(floor_calls) - 3, 4):
        if [c[0] for c in floor_calls[i:i + 4]] == ["write", "fdatasync", "write", "fdatasync"]:
            floor[0].append((floor_calls[i + 1][2] - floor_calls[i][1]) * 1000)
            floor[1].append((floor_calls[i + 3][2] - floor_calls[i][1]) * 1000)
    return latencies, counts, floor


def figure(values, unit, digits=0):
    return f"{statistics.median(values):.{digits}f} {unit} ({min(values):.{digits}f}–{max(values):.{digits}f})"


def report(progs, latencies, counts, floor, plot_data):
    planner = progs[0]
    base_start = statistics.median(r["startup_ms"] for r in planner.runs)
    base_rss = statistics.median(r["peak_kib"] for r in planner.runs)
    base_disk = statistics.median(r["disk_s"] for r in planner.runs)
    out = ["| Program | Runs | Start-up to window mapped, median (range) | × planner | Peak RSS, median (range) "
           "| × planner | Typed line in its files after, median (range) | × planner |",
           "| --- | --- | --- | --- | --- | --- | --- | --- |"]
    with open(plot_data, "w") as plot:
        for p in progs:
            start = [r["startup_ms"] for r in p.runs]
            rss = [r["peak_kib"] / 1024 for r in p.runs]
            disk = [r["disk_s"] for r in p.runs if "disk_s" in r]
            if not disk:
                disk_text = disk_ratio = "—"
            elif any(d is None for d in disk):
                saved = [d for d in disk if d is not None]
                disk_text = f"not within {DISK_WAIT_S} s in {len(disk) - len(saved)} of {len(disk)} runs"
                disk_ratio = f"> {DISK_WAIT_S / base_disk:.0f}×"
            else:
                disk_text = figure([d * 1000 for d in disk], "ms", 1)
                disk_ratio = f"{statistics.median(disk) / base_disk:.0f}×"
            out.append(f"| {p.name} | {len(p.runs)} | {figure(start, 'ms')} | "
                       f"{statistics.median(start) / base_start:.2f}× | {figure(rss, 'MiB', 1)} | "
                       f"{statistics.median(rss) * 1024 / base_rss:.2f}× | {disk_text} | {disk_ratio} |")
            plot.write(f'"{p.name}" {statistics.median(start):.1f} {min(start):.1f} {max(start):.1f} '
                       f"{statistics.median(rss):.1f} {min(rss):.1f} {max(rss):.1f}\n")
    out += ["", f"Typed text lost if the machine died that long after the line of {len(LINE)} characters "
            "was typed (characters, median over the runs; in brackets the runs that lost it):", "",
            "| Program | " + " | ".join(f"after {s} s" for s in LOSS_AFTER_S) + " |",
            "| --- |" + " --- |" * len(LOSS_AFTER_S)]
    for p in progs:
        disk = [r["disk_s"] for r in p.runs if "disk_s" in r]
        if not disk:
            continue
        cells = []
        for seconds in LOSS_AFTER_S:
            lost = [0 if d is not None and d <= seconds else len(LINE) for d in disk]
            cells.append(f"{statistics.median(lost):.0f} ({sum(1 for n in lost if n)} of {len(lost)})")
        out.append(f"| {p.name} | " + " | ".join(cells) + " |")
    out += ["", "The planner's keystroke path in the real program under `strace -f --seccomp-bpf -tt -T`: from "
            "the return of the `recvmsg` that read the X key press to the return of the last `fsync`/`fdatasync` "
            "before the next key press; the floor: one or two appends to a file in the store's folder, each "
            "followed by `fdatasync`, under the same strace in the same run, from the first `write` to the "
            "`fdatasync` returning.", "",
            "| Path | Keystrokes | Median | 99th percentile | × floor (median, 99th) | fsync/fdatasync per keystroke |",
            "| --- | --- | --- | --- | --- | --- |",
            f"| planner, key press to its last fdatasync | {len(latencies)} | {statistics.median(latencies):.3f} ms "
            f"| {percentile(latencies, 0.99):.3f} ms | {statistics.median(latencies) / statistics.median(floor[0]):.2f}×, "
            f"{percentile(latencies, 0.99) / percentile(floor[0], 0.99):.2f}× (1 append) | "
            f"median {statistics.median(counts):.0f}, min {min(counts)}, max {max(counts)} |"]
    for n, values in ((1, floor[0]), (2, floor[1])):
        out.append(f"| floor, {n}× append + fdatasync | {len(values)} | {statistics.median(values):.3f} ms | "
                   f"{percentile(values, 0.99):.3f} ms | — | {n} |")
    return "\n".join(out)


PLOT = """set terminal pngcairo size 900,420 font "Liberation Sans,10"
set output "{png}"
set multiplot layout 1,2 title "Median of {runs} runs each; bars: range"
set style fill solid 0.6
set boxwidth 0.6
set grid ytics
set xtics rotate by -20
set yrange [0:*]
set title "Start-up to main window mapped (ms)"
plot "{data}" using 0:2:3:4:(0.6):xtic(1) with boxerrorbars lc 1 notitle
set title "Peak resident memory (MiB)"
plot "{data}" using 0:5:6:7:(0.6):xtic(1) with boxerrorbars lc 2 notitle
unset multiplot
"""


def section(table, runs, load, started):
    versions = subprocess.run(["dpkg-query", "-W", "-f", "${Package} ${Version}, ", "rednotebook", "zim"],
                              capture_output=True, text=True).stdout.rstrip(", ")
    source = subprocess.run(["git", "rev-parse", "--short", "HEAD"], capture_output=True, text=True).stdout.strip()
    return f"""<!-- peers -->
## Side by side with other diaries

Measured on {started} by `scripts/bench.sh peers` (also the last part of `scripts/bench.sh`), which installs
Debian's {versions}, builds `build-bench/` and runs

```
/usr/bin/python3 bench/peers/peers.py --planner build-bench/tavorin-planner \\
  --bare build-bench/bench/bare_window --folder <temporary folder> --document docs/performance.md
```

on {os.cpu_count()} processors (load average before: {load}; source {source}). Under Xvfb with openbox,
each program in a fresh home folder, the four taking turns in {runs} rounds whose order turns. Start-up: from
spawning the process to the first MapNotify of a window that is not a menu. Peak memory: the process's VmHWM
once the typed line was found or the wait was over (the bare window reports it at its first paint and quits).
A line is typed with xdotool into the planner's note box, RedNotebook's day and Zim's home page, and their
files are read every 10 ms, for up to {DISK_WAIT_S} s, until the line is in them. The planner syncs each
keystroke before it returns (counted below); whether the others sync their files was not measured, so a
line found there may still sit in the kernel's cache and their losses below are the least they would lose.

{table}

The planner stores the colour with every keystroke too, but SQLite leaves a row it would overwrite with the
same bytes untouched, so a keystroke that keeps the colour needs one `fdatasync`, not two.

![Start-up and memory per program](performance-peers.png)
<!-- /peers -->"""


def put_into(document, text):
    with open(document) as f:
        content = f.read()
    if "<!-- peers -->" in content:
        content = re.sub(r"<!-- peers -->.*?<!-- /peers -->", lambda _: text, content, flags=re.S)
    else:
        content = content.rstrip("\n") + "\n\n" + text
    with open(document, "w") as f:
        f.write(content.rstrip("\n") + "\n")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--planner", required=True)
    parser.add_argument("--bare", required=True)
    parser.add_argument("--folder", required=True)
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--keystrokes", type=int, default=300)
    parser.add_argument("--document", required=True, help="the Markdown file whose section is replaced")
    options = parser.parse_args()
    with open("/proc/loadavg") as f:
        load = " ".join(f.read().split()[:3])
    started = time.strftime("%Y-%m-%dT%H:%MZ", time.gmtime())
    progs = programs(options.planner, options.bare)
    x_display, servers = start_x(options.folder)
    try:
        for index in range(options.runs):
            # Interleaved, in an order that turns each round.
            for p in progs[index % len(progs):] + progs[:index % len(progs)]:
                run_once(p, options.folder, x_display, index)
                print(f"{p.name} run {index + 1}: {p.runs[-1]}", file=sys.stderr)
        latencies, counts, floor = keystroke_path(options.planner, options.folder, x_display, options.keystrokes)
    finally:
        for server in servers:
            server.terminate()
            server.wait()
    plot_data = os.path.join(options.folder, "peers.dat")
    table = report(progs, latencies, counts, floor, plot_data)
    png = os.path.join(os.path.dirname(os.path.abspath(options.document)), "performance-peers.png")
    subprocess.run(["gnuplot"], input=PLOT.format(png=png, runs=options.runs, data=plot_data), text=True, check=True)
    put_into(options.document, section(table, options.runs, load, started))
    print(table)


if __name__ == "__main__":
    main()
