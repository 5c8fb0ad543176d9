"""Where the builds are, and how to start their programs."""

import os

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
LINUX_BUILD = os.environ.get("NETCLOCK_LINUX_BUILD", os.path.join(ROOT, "build", "linux"))
WINDOWS_BUILD = os.environ.get("NETCLOCK_WINDOWS_BUILD", os.path.join(ROOT, "build", "windows"))


def linux_probe_command():
    return [os.path.join(LINUX_BUILD, "tests", "e2e", "fetch_probe")]


def windows_probe_command():
    return ["wine", os.path.join(WINDOWS_BUILD, "tests", "e2e", "fetch_probe.exe")]
