"""The Linux program end to end: the real binary, on the virtual display,
asks its own time server (port 80, the fixture server inside the test
network namespace). It runs as an unprivileged user with a preloaded shim
that records every attempt to set the clock, so the machine's clock cannot
move twice over."""

import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from fixture_server import Case, http_date, response  # noqa: E402
from harness import LINUX_BUILD, HermeticTest  # noqa: E402

BINARY = os.path.join(LINUX_BUILD, "src", "ui", "qt", "netclock")
SHIM = os.path.join(LINUX_BUILD, "tests", "e2e", "libclock_shim.so")
DAY = 86400


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=20).stdout.strip()


class LinuxProgram(HermeticTest):
    def setUp(self):
        self.assertTrue(os.path.exists(SHIM), "the clock shim is not built")
        # The unprivileged user may not reach the build folder: it runs
        # copies in a folder of its own.
        self.folder = tempfile.mkdtemp()
        os.chmod(self.folder, 0o777)
        binary = shutil.copy(BINARY, self.folder)
        shim = shutil.copy(SHIM, self.folder)
        self.log = os.path.join(self.folder, "clock.log")
        env = dict(os.environ, LD_PRELOAD=shim, NETCLOCK_CLOCK_LOG=self.log, TZ="UTC", LANG="C.UTF-8",
                   HOME=self.folder, XDG_RUNTIME_DIR=self.folder, QT_QPA_PLATFORM="xcb",
                   ASAN_OPTIONS="verify_asan_link_order=0:detect_leaks=0")
        self.server.set_case(Case("ahead", lambda: response(date_line=b"Date: " + http_date(time.time() + 10 * DAY))))
        self.started = time.time()
        self.proc = subprocess.Popen(["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", binary],
                                     env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        deadline = time.monotonic() + 30
        self.window = ""
        while time.monotonic() < deadline and not self.window:
            self.window = xdotool("search", "--onlyvisible", "--pid", str(self.proc.pid), "--class", "netclock").split("\n")[0]
            self.assertIsNone(self.proc.poll(), self.proc.stderr.read().decode(errors="replace") if self.proc.poll() is not None else "")
            time.sleep(0.2)
        self.assertTrue(self.window, "the window never appeared")

    def tearDown(self):
        if self.proc.poll() is None:
            self.proc.kill()
        self.proc.wait()
        self.proc.stderr.close()
        shutil.rmtree(self.folder, ignore_errors=True)

    def requests(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log) as f:
            return [line.split() for line in f if line.strip()]

    def test_sync_asks_for_the_network_time_and_escape_ends_with_0(self):
        time.sleep(1.5)  # a tick or two
        self.assertEqual(self.requests(), [], "nothing touches the clock before 同步时间")
        xdotool("windowfocus", "--sync", self.window)
        xdotool("mousemove", "--window", self.window, "42", "100", "click", "1")
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline and not self.requests():
            time.sleep(0.1)
        requests = self.requests()
        self.assertEqual(len(requests), 1, requests)
        what, seconds, nanoseconds = requests[0]
        self.assertEqual(what, "clock_settime")
        self.assertEqual(nanoseconds, "0")
        # UTC+8 written as local time in a UTC zone: eight hours ahead of the Date.
        expected = self.started + 10 * DAY + 8 * 3600
        self.assertLess(abs(int(seconds) - expected), 5)

        xdotool("windowfocus", "--sync", self.window)
        xdotool("key", "Escape")
        self.assertEqual(self.proc.wait(timeout=10), 0)
        self.assertEqual(len(self.requests()), 1)


if __name__ == "__main__":
    unittest.main()
