"""Measures the programs and prints each figure on its own line, beside its
floor or goal. Runs inside the test network namespace (scripts/run-bench),
where the programs' own time server is the fixture server on port 80."""

import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from fixture_server import Case, http_date, response, shared_server  # noqa: E402

RELEASE = os.path.join(ROOT, "build", "linux-release")
WINDOWS = os.path.join(ROOT, "build", "windows")
LINUX_PROGRAM = os.path.join(RELEASE, "src", "ui", "qt", "netclock")
WINDOWS_PROGRAM = os.path.join(WINDOWS, "netclock.exe")


def figure(name, value):
    print(f"{name}: {value}", flush=True)


def query_overhead(server):
    out = subprocess.run([os.path.join(RELEASE, "bench", "query_bench"), str(server.port), "50"],
                         check=True, capture_output=True, text=True).stdout
    values = dict(line.split() for line in out.splitlines())
    query, floor = float(values["query_ms"]), float(values["floor_ms"])
    figure("query overhead", f"{query / floor:.2f} (median of 50: query {query:.3f} ms, bare request "
           f"{floor:.3f} ms; goal at most 1.2)")


def watch_maps():
    """xev on the root window: a line for every window mapped on the display."""
    return subprocess.Popen(["xev", "-root", "-event", "substructure"], stdout=subprocess.PIPE, text=True,
                            bufsize=1)


def time_to_window(command, env, runs):
    """Median seconds from starting the command to its first window mapped."""
    times = []
    for _ in range(runs):
        xev = watch_maps()
        time.sleep(0.3)  # xev is listening
        started = time.monotonic()
        proc = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        mapped = None
        for line in xev.stdout:
            if line.startswith("MapNotify"):
                mapped = time.monotonic()
                break
        times.append(mapped - started)
        proc.kill()
        proc.wait()
        xev.kill()
        xev.wait()
        time.sleep(0.2)
    return statistics.median(times)


def start_to_window(env):
    linux = time_to_window([LINUX_PROGRAM], env, 10)
    figure("start to window, Linux", f"{linux * 1000:.0f} ms (median of 10, Xvfb, server answering at once)")
    # Wine's own process start-up dominates this one.
    windows = time_to_window(["wine", WINDOWS_PROGRAM], env, 10)
    figure("start to window, Windows under Wine", f"{windows * 1000:.0f} ms (median of 10; informational)")


def idle_cost(env, seconds=60):
    proc = subprocess.Popen([LINUX_PROGRAM], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(5)  # shown, ticking

        def cpu():
            with open(f"/proc/{proc.pid}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")

        before, started = cpu(), time.monotonic()
        time.sleep(seconds)
        used, elapsed = cpu() - before, time.monotonic() - started
        with open(f"/proc/{proc.pid}/status") as f:
            peak = next(int(line.split()[1]) for line in f if line.startswith("VmHWM"))
    finally:
        proc.kill()
        proc.wait()
    figure("idle cost, Linux", f"{used / elapsed * 100:.3f} % of one core ({used:.2f} s CPU in {elapsed:.0f} s of "
           f"ticks; goal under 0.1 %)")
    figure("peak resident memory, Linux", f"{peak / 1024:.1f} MiB")


def sizes():
    folder = tempfile.mkdtemp()
    try:
        exe = shutil.copy(WINDOWS_PROGRAM, folder)
        subprocess.run(["x86_64-w64-mingw32-strip", exe], check=True)
        linux = shutil.copy(LINUX_PROGRAM, folder)
        subprocess.run(["strip", linux], check=True)
        figure("size, Windows executable (stripped, static)",
               f"{os.path.getsize(exe) / 1024:.0f} KiB (goal under 300 KiB)")
        figure("size, Linux binary (stripped, Qt and libcurl shared)", f"{os.path.getsize(linux) / 1024:.0f} KiB")
    finally:
        shutil.rmtree(folder)


def datetime_throughput():
    out = subprocess.run([os.path.join(RELEASE, "bench", "datetime_bench"), "--benchmark_format=json",
                          "--benchmark_min_time=0.2"], check=True, capture_output=True, text=True).stdout
    names = {"BM_FromText": "DateTime::fromText", "BM_ToText": "DateTime::toText",
             "BM_AddSecond": "DateTime::add (seconds)", "BM_AddMonth": "DateTime::add (months)"}
    for b in json.loads(out)["benchmarks"]:
        figure(f"throughput, {names.get(b['name'], b['name'])}", f"{b['items_per_second'] / 1e6:.2f} million per second")


def main():
    server = shared_server(80)
    server.set_case(Case("now", lambda: response(date_line=b"Date: " + http_date(time.time()))))
    env = dict(os.environ, TZ="UTC", LANG="C.UTF-8", QT_QPA_PLATFORM="xcb", WINEDEBUG="-all")
    print(f"machine: {os.cpu_count()} cores, {os.uname().machine}, {os.uname().sysname} {os.uname().release}",
          flush=True)
    query_overhead(server)
    start_to_window(env)
    idle_cost(env)
    sizes()
    datetime_throughput()


if __name__ == "__main__":
    main()
