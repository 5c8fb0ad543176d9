"""Drives a fetch_probe process (native, or the .exe under Wine)."""

import subprocess


class Probe:
    def __init__(self, command, env=None):
        self.proc = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE, env=env)

    def exchange(self, host=None, port=None):
        """Returns (header block, query text) as bytes. Without a host, the
        program's own time server is asked."""
        line = "default" if host is None else f"{host} {port}"
        self.proc.stdin.write((line + "\n").encode())
        self.proc.stdin.flush()
        block = self._read("BLOCK")
        query = self._read("QUERY")
        return block, query

    def block(self, host, port):
        """The header block alone, from one exchange."""
        self.proc.stdin.write(f"block {host} {port}\n".encode())
        self.proc.stdin.flush()
        return self._read("BLOCK")

    def _read(self, label):
        line = self.proc.stdout.readline().decode().strip()
        if not line.startswith(label):
            raise RuntimeError(f"probe said {line!r}, expected {label}")
        return bytes.fromhex(line[len(label):].strip())

    def close(self):
        self.proc.stdin.close()
        self.proc.wait(timeout=60)
        self.proc.stdout.close()
