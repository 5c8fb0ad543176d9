"""Drives ui_probe.exe under Wine, which starts and watches the Windows program."""

import os
import subprocess
import tempfile
import time

from harness import WINDOWS_BUILD


def text(hexed):
    return "" if hexed == "-" else bytes.fromhex(hexed).decode("utf-8")


class UiProbe:
    def __init__(self, lang="zh_CN.UTF-8", extra_env=None):
        env = dict(os.environ, LANG=lang, LC_ALL=lang, TZ="UTC", WINEDEBUG="-all,err+sync")
        env.update(extra_env or {})
        # The program inherits the probe's standard error: Wine's log of a
        # refused clock change lands here.
        self.log = tempfile.TemporaryFile()
        self.proc = subprocess.Popen(["wine", os.path.join(WINDOWS_BUILD, "tests", "e2e", "ui_probe.exe")],
                                     stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=self.log, env=env)

    def ask(self, line):
        self.proc.stdin.write((line + "\n").encode())
        self.proc.stdin.flush()
        return self.proc.stdout.readline().decode().strip()

    def start(self, exe=None):
        pid = int(self.ask("start " + (exe or os.path.join(WINDOWS_BUILD, "netclock.exe"))).split()[1])
        assert pid != 0, "the program did not start"
        return pid

    def window(self):
        """None, or (visible, (left, top, right, bottom), style, title)."""
        parts = self.ask("window").split()
        if parts[1] == "none":
            return None
        return (parts[1] == "1", tuple(int(x) for x in parts[2:6]), int(parts[6], 16), text(parts[8]))

    def text(self, control):
        return text(self.ask(f"text {control}").split()[1])

    def rect(self, control):
        return tuple(int(x) for x in self.ask(f"rect {control}").split()[1:])

    def focus(self):
        return int(self.ask("focus").split()[1])

    def key(self, vk, modifier=""):
        self.ask("foreground")
        return self.ask(f"key {vk} {modifier}".strip())

    def click(self, control):
        return self.ask(f"click {control}")

    def close(self):
        return self.ask("close")

    def box(self):
        parts = self.ask("box").split()
        if parts[1] == "none":
            return None
        return text(parts[1]), text(parts[2])

    def box_ok(self):
        return self.ask("boxok")

    def wait(self, ms):
        """The exit code, or None while the program runs."""
        parts = self.ask(f"wait {ms}").split()
        return int(parts[1]) if parts[0] == "EXIT" else None

    def screen(self):
        return tuple(int(x) for x in self.ask("screen").split()[1:])

    def settime(self):
        return self.ask("settime").split()[1]

    def until(self, predicate, timeout=10.0, step=0.05):
        """Polls predicate until it gives something true; returns it, or None."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            value = predicate()
            if value:
                return value
            time.sleep(step)
        return None

    def log_text(self):
        self.log.seek(0)
        return self.log.read().decode("utf-8", "replace")

    def quit(self):
        try:
            self.proc.stdin.close()
            self.proc.wait(timeout=30)
        finally:
            self.proc.stdout.close()
            self.log.close()
