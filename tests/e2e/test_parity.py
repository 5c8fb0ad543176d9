"""The Linux fetch (libcurl) against the Windows fetch (WinINet under Wine):
the same fixture responses must give the same header blocks and the same
network-time results. The table holds what each case must give."""

import os
import socket
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from fixture_server import CASES_BY_NAME, FixtureServer, Case  # noqa: E402
from harness import linux_probe_command, windows_probe_command  # noqa: E402
from probe import Probe  # noqa: E402

SPACES = b" " * 1024
NORMAL = "1994年11月6日16时49分37秒"

# case: (query text, block check). A block check is "same" (both platforms
# hand back the same block, which must hold a status line), "spaces" (both
# give 1024 spaces), or "failed" (Linux gives 1024 spaces; Wine's WinINet
# gives "\r\n" for a request that got no response at all, see the README).
EXPECTED = {
    "normal": (NORMAL, "same"),
    "no_space_after_colon": (NORMAL, "same"),
    "extra_spaces_around_value": (NORMAL, "same"),
    "lower_case_name": ("", "same"),
    "two_inner_spaces": ("", "same"),
    "tab_inside_value": ("", "same"),
    "obsolete_dashes": ("", "same"),
    "asctime_layout": ("100年1月1日", "same"),
    "december": ("2017年1月1日7时59分59秒", "same"),
    "unknown_month": ("2016年12月1日20时", "same"),
    "lower_case_month": ("1994年12月6日16时49分37秒", "same"),
    "date_in_other_header_name": ("1994年11月7日18时", "same"),
    "date_inside_earlier_value": ("1994年11月8日19时", "same"),
    "no_date_header": ("", "same"),
    "duplicate_headers": (NORMAL, "same"),
    "tab_before_value": (NORMAL, "same"),
    "line_without_colon": (NORMAL, "same"),
    "bare_lf_lines": (NORMAL, "same"),
    "space_before_colon": (NORMAL, "same"),
    "status_without_reason": (NORMAL, "same"),
    "block_1023": (NORMAL, "same"),
    "block_1024": ("", "spaces"),
    "status_301": ("1994年11月7日17时", "same"),
    "status_302": ("1994年11月7日17时", "same"),
    "redirect_to_https": (NORMAL, "same"),
    "status_404": (NORMAL, "same"),
    "status_500": (NORMAL, "same"),
    "delayed_1500ms": ("1994年11月6日16时49分38秒", "same"),
    "closed_mid_headers": (NORMAL, "same"),
    "closed_mid_header_value": (NORMAL, "same"),
    "reset_before_response": ("", "failed"),
    "no_listener": ("", "failed"),
}


def free_port():
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
    return port


class Parity(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server = FixtureServer()
        cls.linux = Probe(linux_probe_command())
        cls.windows = Probe(windows_probe_command())
        cls.table = []

    @classmethod
    def tearDownClass(cls):
        cls.linux.close()
        cls.windows.close()
        cls.server.stop()
        print("\ncase | block bytes linux / windows | query linux / windows", file=sys.stderr)
        for row in cls.table:
            print(" | ".join(str(x) for x in row), file=sys.stderr)

    def exchange(self, probe, name):
        if name == "no_listener":
            return probe.exchange("127.0.0.1", free_port())
        self.server.set_case(name)
        return probe.exchange("127.0.0.1", self.server.port)

    def test_cases(self):
        for name, (query, check) in EXPECTED.items():
            with self.subTest(case=name):
                lb, lq = self.exchange(self.linux, name)
                wb, wq = self.exchange(self.windows, name)
                self.table.append((name, len(lb), len(wb), lq.decode("gbk"), wq.decode("gbk")))
                self.assertEqual(lq.decode("gbk"), query, "linux query")
                self.assertEqual(wq.decode("gbk"), query, "windows query")
                if check == "same":
                    self.assertEqual(lb, wb)
                    self.assertTrue(lb.startswith(b"HTTP/1.1 ") and lb.endswith(b"\r\n\r\n"), lb)
                    self.assertLess(len(lb), 1024)
                elif check == "spaces":
                    self.assertEqual(lb, SPACES)
                    self.assertEqual(wb, SPACES)
                else:
                    self.assertEqual(lb, SPACES)
                    self.assertIn(wb, (SPACES, b"\r\n"))

    def test_every_fixture_case_is_in_the_table(self):
        self.assertEqual(set(CASES_BY_NAME) - {"hang"}, set(EXPECTED) - {"no_listener"})

    def requests_of(self, probe, case):
        self.server.set_case(case)
        first = len(self.server.requests)
        probe.block("127.0.0.1", self.server.port)
        return self.server.requests[first:]

    def test_request_bytes_match(self):
        linux = self.requests_of(self.linux, "normal")
        self.assertEqual(linux, self.requests_of(self.windows, "normal"))
        host = f"127.0.0.1:{self.server.port}".encode()
        agent = b"User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n"
        self.assertEqual(linux, [b"GET / HTTP/1.1\r\nHost: " + host + b"\r\n" + agent + b"\r\n"])

    def test_redirected_request_bytes_match(self):
        linux = self.requests_of(self.linux, "status_302")
        self.assertEqual(linux, self.requests_of(self.windows, "status_302"))
        self.assertEqual(len(linux), 2)
        self.assertTrue(linux[1].startswith(b"GET /moved HTTP/1.1\r\nUser-Agent: "), linux[1])


if __name__ == "__main__":
    unittest.main()
