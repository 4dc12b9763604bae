#!/usr/bin/python3
"""What a screen reader reads in one program's window: the names of its showing
texts, one a line, as AT-SPI gives them.
    spoken.py PID     the program with that process id; 0 or none: only wakes the registry
"""
import sys

import pyatspi


def texts(node, out):
    try:
        role = node.getRole()
        showing = node.getState().contains(pyatspi.STATE_SHOWING)
        name = node.name
        children = [node.getChildAtIndex(i) for i in range(node.childCount)]
    except Exception:  # a node that went away while it was read
        return
    if not showing and role != pyatspi.ROLE_APPLICATION:
        return
    if role == pyatspi.ROLE_LABEL and name:
        out.append(name.replace("\n", " "))
    for child in children:
        if child is not None:
            texts(child, out)


def main():
    pid = int(sys.argv[1]) if len(sys.argv) > 1 else 0
    out = []
    for app in pyatspi.Registry.getDesktop(0):
        if pid and app is not None and app.get_process_id() == pid:
            texts(app, out)
    sys.stdout.write("".join(line + "\n" for line in out))


main()
