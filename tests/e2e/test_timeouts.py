"""A server that accepts the connection and then never answers must not
hang the Linux program: the exchange gives up after WinINet's default
receive time-out of 30 s and hands back the failed block."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from fixture_server import Case, FixtureServer  # noqa: E402
from harness import linux_probe_command  # noqa: E402
from probe import Probe  # noqa: E402


class NeverAnswers(unittest.TestCase):
    def test_gives_up_after_the_receive_timeout(self):
        server = FixtureServer()
        server.set_case(Case("hang", action="hang"))
        probe = Probe(linux_probe_command())
        try:
            started = time.monotonic()
            block = probe.block("127.0.0.1", server.port)
            elapsed = time.monotonic() - started
        finally:
            probe.close()
            server.stop()
        self.assertEqual(block, b" " * 1024)
        self.assertGreaterEqual(elapsed, 29)
        self.assertLess(elapsed, 40)


if __name__ == "__main__":
    unittest.main()
