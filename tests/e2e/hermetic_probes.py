"""The programs' own time server, host name and port 80, answered by the
fixture server. Runs inside a private network and mount namespace whose
hosts file maps the host name to 127.0.0.1 (scripts/in-netns); make test
runs it there."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from harness import TIME_SERVER_HOST, HermeticTest, linux_probe_command, windows_probe_command  # noqa: E402
from probe import Probe  # noqa: E402

HOST = TIME_SERVER_HOST


class ShippedHost(HermeticTest):
    def check(self, command):
        self.server.set_case("normal")
        first = len(self.server.requests)
        probe = Probe(command)
        try:
            block, query = probe.exchange()
        finally:
            probe.close()
        self.assertTrue(block.startswith(b"HTTP/1.1 200 OK\r\nDate: Sun, 06 Nov 1994 08:49:37 GMT\r\n"), block)
        self.assertEqual(query.decode("gbk"), "1994年11月6日16时49分37秒")
        request = self.server.requests[first]
        self.assertTrue(request.startswith(b"GET / HTTP/1.1\r\nHost: " + HOST.encode() + b"\r\n"), request)

    def test_linux(self):
        self.check(linux_probe_command())

    def test_windows(self):
        self.check(windows_probe_command())


if __name__ == "__main__":
    unittest.main()
