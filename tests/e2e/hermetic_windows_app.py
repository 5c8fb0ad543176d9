"""The Windows program under Wine, end to end: the real executable asks its
own time server (port 80, answered by the fixture server inside the test
network namespace) and is watched through ui_probe.exe."""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from fixture_server import Case, http_date, response  # noqa: E402
from harness import ROOT, WINDOWS_BUILD, HermeticTest  # noqa: E402
from ui_probe import UiProbe  # noqa: E402

SYNC, NETWORK, TIMER, SYSTEM_LABEL, NETWORK_LABEL = 101, 102, 103, 104, 105
VK_TAB, VK_RETURN, VK_ESCAPE, VK_F1, VK_F4 = 0x09, 0x0D, 0x1B, 0x70, 0x73
WS_CAPTION, WS_SYSMENU, WS_THICKFRAME = 0x00C00000, 0x00080000, 0x00040000
WS_MINIMIZEBOX, WS_MAXIMIZEBOX = 0x00020000, 0x00010000
DAY = 86400


def seconds_of(line):
    """Seconds since midnight of a text form's time part (0 without one)."""
    m = re.search(r"日(?:(\d+)时)?(?:(\d+)分)?(?:(\d+)秒)?$", line)
    h, mi, s = (int(x) if x else 0 for x in m.groups())
    return h * 3600 + mi * 60 + s


def dated(offset_days):
    """A response whose Date lies offset_days from now."""
    return Case(f"now{offset_days:+d}d", lambda: response(date_line=b"Date: " + http_date(time.time() + offset_days * DAY)))


class WindowsProgram(HermeticTest):
    def setUp(self):
        self.server.set_case("normal")
        self.probe = None

    def tearDown(self):
        if self.probe is not None:
            if self.probe.wait(0) is None:
                self.probe.close()
                self.probe.wait(10000)
            self.probe.quit()

    def screenshot(self, name, rect):
        """Saves the window as seen on the virtual display under build/screenshots."""
        folder = os.path.join(ROOT, "build", "screenshots")
        os.makedirs(folder, exist_ok=True)
        left, top, right, bottom = rect
        try:
            subprocess.run(["import", "-window", "root", "-crop", f"{right - left}x{bottom - top}+{left}+{top}",
                            os.path.join(folder, name)], check=False, timeout=30)
        except (OSError, subprocess.TimeoutExpired):
            pass  # a picture for people; the test does not depend on it

    def launch(self, case="normal", lang="zh_CN.UTF-8", exe=None):
        self.server.set_case(case)
        self.probe = UiProbe(lang)
        self.probe.start(exe)
        shown = self.probe.until(lambda: (w := self.probe.window()) and w[0] and w, timeout=20)
        self.assertTrue(shown, "the window never appeared")
        return shown

    def wait_tick(self, label=NETWORK_LABEL, timeout=5):
        """Waits for the label to change; returns its new text."""
        before = self.probe.text(label)
        return self.probe.until(lambda: (t := self.probe.text(label)) != before and t, timeout=timeout)

    # ------------------------------------------------------------ start-up

    def test_window_appears_only_after_the_first_query(self):
        self.server.set_case(Case("slow", response(), delay=3.0))
        first = len(self.server.served)
        self.probe = UiProbe()
        self.probe.start()
        hidden_seen = False
        shown_at = None
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline and shown_at is None:
            w = self.probe.window()
            if w is not None and not w[0]:
                hidden_seen = True
            if w is not None and w[0]:
                shown_at = time.monotonic()
            time.sleep(0.05)
        self.assertTrue(hidden_seen, "the window should exist, hidden, during the first query")
        self.assertIsNotNone(shown_at)
        # The server notes the reply just after sending it.
        self.assertTrue(self.probe.until(lambda: len(self.server.served) == first + 1, timeout=2))
        self.assertGreaterEqual(shown_at, self.server.served[first][2])
        # The first query took three seconds: a merged tick is handled at once.
        self.assertTrue(self.probe.until(lambda: self.probe.text(NETWORK_LABEL), timeout=1.0))

    def test_window_shape_place_and_focus(self):
        visible, (left, top, right, bottom), style, title = self.launch()
        cx, cy = self.probe.screen()
        self.assertEqual((right - left, bottom - top), (253, 151))
        self.assertEqual((left, top), ((cx - 253) // 2, (cy - 151) // 2))
        self.assertEqual(title, "")
        self.assertEqual(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX), WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX)
        self.assertEqual(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0)
        self.assertEqual(self.probe.rect(SYSTEM_LABEL), (2, 8, 250, 32))
        self.assertEqual(self.probe.rect(NETWORK_LABEL), (2, 48, 250, 72))
        self.assertEqual(self.probe.rect(SYNC), (2, 80, 82, 120))
        self.assertEqual(self.probe.rect(NETWORK), (166, 80, 246, 120))
        self.assertEqual(self.probe.text(SYNC), "同步时间")
        self.assertEqual(self.probe.text(NETWORK), "网络时间")
        self.assertTrue(self.probe.until(lambda: self.probe.focus() == SYNC, timeout=3), self.probe.focus())

    # --------------------------------------------------------------- ticks

    def test_first_tick_fills_both_labels_in_any_locale(self):
        for lang in ("zh_CN.UTF-8", "C"):
            with self.subTest(lang=lang):
                shown = self.launch(lang=lang)
                network = self.probe.until(lambda: self.probe.text(NETWORK_LABEL), timeout=3)
                time.sleep(0.2)  # painted
                self.screenshot(f"window-windows-{lang.split('.')[0]}.png", shown[1])
                system = self.probe.text(SYSTEM_LABEL)
                self.assertEqual(network, "网络时间：1994年11月6日16时49分38秒")
                self.assertTrue(system.startswith("当前系统时间：") and system.count("年") == 1, system)
                self.probe.close()
                self.assertEqual(self.probe.wait(10000), 0)
                self.probe.quit()
                self.probe = None

    def test_failed_query_shows_the_lowest_time_until_a_successful_one(self):
        self.launch(case="no_date_header")
        first = self.probe.until(lambda: self.probe.text(NETWORK_LABEL), timeout=3)
        self.assertEqual(first, "网络时间：100年1月1日")
        self.wait_tick(SYSTEM_LABEL)
        self.assertEqual(self.probe.text(NETWORK_LABEL), "网络时间：100年1月1日")

        self.server.set_case("normal")
        self.probe.click(NETWORK)
        counting = self.probe.until(lambda: "1994" in self.probe.text(NETWORK_LABEL) and self.probe.text(NETWORK_LABEL))
        self.assertTrue(counting)
        later = self.wait_tick()
        self.assertEqual(seconds_of(later) - seconds_of(counting), 1)

    def test_sync_asks_for_the_computed_time_and_keeps_the_network_line(self):
        self.launch(case=dated(10))
        before = self.wait_tick()
        # The clock is set from a server that is five days behind the first.
        self.server.set_case(dated(5))
        self.probe.click(SYNC)
        refused = self.probe.until(lambda: re.search(r"not allowed: difference (-?\d+) ms", self.probe.log_text()))
        self.assertTrue(refused, self.probe.log_text())
        expected_ms = (5 * DAY + 8 * 3600) * 1000  # UTC+8, written as local time in a UTC zone
        self.assertLess(abs(int(refused.group(1)) - expected_ms), 2500)
        after = self.wait_tick()
        self.assertIn(seconds_of(after) - seconds_of(before), range(1, 5))
        self.assertEqual(after.split("日")[0], before.split("日")[0])  # still ten days ahead

    def test_wine_never_moves_the_clock(self):
        self.probe = UiProbe()
        before = time.time()
        self.assertEqual(self.probe.settime(), "refused")
        self.assertLess(abs(time.time() - before), 5)

    # ---------------------------------------------------- blocking queries

    def test_clicks_during_a_slow_query_wait_and_run_one_after_another(self):
        self.launch()
        self.wait_tick()
        self.server.set_case(Case("slow", response(), delay=2.0))
        start = len(self.server.served)
        for _ in range(3):
            self.probe.click(NETWORK)
        self.assertTrue(self.probe.until(lambda: len(self.server.served) >= start + 3, timeout=15))
        time.sleep(0.5)
        served = self.server.served[start:]
        self.assertEqual(len(served), 3, "one query per click")
        for earlier, later in zip(served, served[1:]):
            self.assertGreaterEqual(later[1], earlier[2] - 0.01, "queries must not overlap")

    def test_ticks_missed_during_a_block_merge_into_one(self):
        self.launch()
        before = self.wait_tick()
        self.server.set_case(Case("slow", response(), delay=3.0))
        start = len(self.server.served)
        self.probe.click(SYNC)  # leaves the network time alone
        self.assertTrue(self.probe.until(lambda: len(self.server.served) > start, timeout=10))
        time.sleep(0.4)
        after = self.probe.text(NETWORK_LABEL)
        self.assertEqual(seconds_of(after) - seconds_of(before), 1, (before, after))

    # ------------------------------------------------------------ keyboard

    def test_tab_moves_between_the_buttons_and_enter_and_f1_do_nothing(self):
        self.launch()
        self.assertTrue(self.probe.until(lambda: self.probe.focus() == SYNC, timeout=3), self.probe.focus())
        self.probe.key(VK_TAB)
        self.assertTrue(self.probe.until(lambda: self.probe.focus() == NETWORK, timeout=3))
        self.probe.key(VK_TAB)
        self.assertTrue(self.probe.until(lambda: self.probe.focus() == SYNC, timeout=3))
        self.probe.key(VK_TAB, "shift")
        self.assertTrue(self.probe.until(lambda: self.probe.focus() == NETWORK, timeout=3))
        requests = len(self.server.requests)
        self.probe.key(VK_RETURN)
        self.probe.key(VK_F1)
        time.sleep(1.0)
        self.assertEqual(len(self.server.requests), requests)
        self.assertIsNone(self.probe.wait(0))

    def test_closing_ends_with_exit_code_0(self):
        for way in ("escape", "alt+f4", "close box"):
            with self.subTest(way=way):
                self.launch()
                if way == "escape":
                    self.probe.key(VK_ESCAPE)
                elif way == "alt+f4":
                    self.probe.key(VK_F4, "alt")
                else:
                    self.probe.close()
                self.assertEqual(self.probe.wait(10000), 0)
                self.probe.quit()
                self.probe = None

    def test_shift_escape_does_not_close(self):
        self.launch()
        self.probe.key(VK_ESCAPE, "shift")
        self.assertIsNone(self.probe.wait(1500))

    # --------------------------------------------------------- fatal error

    def test_wininet_without_internet_open_is_fatal(self):
        folder = tempfile.mkdtemp()
        try:
            exe = os.path.join(folder, "netclock.exe")
            shutil.copy(os.path.join(WINDOWS_BUILD, "netclock.exe"), exe)
            shutil.copy(os.path.join(WINDOWS_BUILD, "tests", "e2e", "wininet.dll"), folder)
            # Wine prefers its own wininet.dll even to a file of that name
            # beside the program; Windows loads the file, and so must Wine here.
            overrides = os.environ.get("WINEDLLOVERRIDES", "")
            self.probe = UiProbe(extra_env={"WINEDLLOVERRIDES": overrides + ";wininet=n" if overrides else "wininet=n"})
            self.probe.start("Z:" + exe.replace("/", "\\"))
            # Found once its texts are in place.
            box = self.probe.until(lambda: (b := self.probe.box()) and b[0] and b[1] and b, timeout=20)
            self.assertTrue(box)
            title, message = box
            self.assertEqual(title, "错误")
            self.assertIn("运行时出错!", message)
            self.assertIn("错误信息：无法找到指定DLL库文件“wininet.dll”中的输出命令“InternetOpenA”", message)
            w = self.probe.window()
            self.assertTrue(w is None or not w[0], "the main window must not show")
            self.probe.box_ok()
            self.assertEqual(self.probe.wait(10000), 0xFFFFFFFF)
        finally:
            shutil.rmtree(folder)


if __name__ == "__main__":
    unittest.main()
