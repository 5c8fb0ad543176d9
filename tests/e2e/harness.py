"""Where the builds are, and how to start their programs."""

import os
import socket
import unittest

from fixture_server import shared_server

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
LINUX_BUILD = os.environ.get("NETCLOCK_LINUX_BUILD", os.path.join(ROOT, "build", "linux"))
WINDOWS_BUILD = os.environ.get("NETCLOCK_WINDOWS_BUILD", os.path.join(ROOT, "build", "windows"))


def linux_probe_command():
    return [os.path.join(LINUX_BUILD, "tests", "e2e", "fetch_probe")]


def windows_probe_command():
    return ["wine", os.path.join(WINDOWS_BUILD, "tests", "e2e", "fetch_probe.exe")]


def _time_server_host():
    """The host name the programs ask, as the code states it."""
    with open(os.path.join(ROOT, "src", "net", "NetworkTime.h")) as f:
        for line in f:
            if "kTimeServerHost =" in line:
                return line.split('"')[1]
    raise RuntimeError("no kTimeServerHost in NetworkTime.h")


TIME_SERVER_HOST = _time_server_host()


class HermeticTest(unittest.TestCase):
    """Tests of the programs with their own time server, which run only in
    the test network namespace (scripts/in-netns): there the host name maps
    to 127.0.0.1, and the fixture server answers on port 80."""

    @classmethod
    def setUpClass(cls):
        if socket.gethostbyname(TIME_SERVER_HOST) != "127.0.0.1":
            raise unittest.SkipTest("not inside the test network namespace")
        cls.server = shared_server(80)
