#!/usr/bin/env python3
"""Plays a loopback plug on a Wine COM port for the Windows serial-line test.

Creates a pseudo-terminal in raw mode, links it as Wine's comN device and sends back
every byte it receives, until the program given on the command line ends; exits with
that program's status."""
import os
import pty
import select
import subprocess
import sys
import tty

port = os.environ["CORVALE_TEST_COMPORT"]
master, slave = pty.openpty()
tty.setraw(slave)
link = os.path.join(os.environ["WINEPREFIX"], "dosdevices", port.lower())
if os.path.lexists(link):
    os.remove(link)
os.symlink(os.ttyname(slave), link)
child = subprocess.Popen(sys.argv[1:])
try:
    while child.poll() is None:
        ready, _, _ = select.select([master], [], [], 0.1)
        if ready:
            os.write(master, os.read(master, 4096))
finally:
    os.remove(link)
sys.exit(child.wait())
