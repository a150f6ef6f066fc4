#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Corvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Prints the accessible tree of a running program as the desktop's accessibility bus (AT-SPI)
gives it to a screen reader: one line per object, indented by depth, "role|name|states|actions|description".
Hidden objects are printed too (the states say "showing" when shown).
    accessible-tree.py <application name> [seconds to wait for it]"""
import sys
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

# Debian 12's bindings call the action interface of an object deprecated, but have no other.
warnings.filterwarnings("ignore", category=DeprecationWarning)


def find_application(name, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            application = desktop.get_child_at_index(i)
            if application is not None and application.get_name() == name:
                return application
        time.sleep(0.1)
    return None


def describe(node):
    states = node.get_state_set()
    shown = [s for s in ("showing", "checked", "focusable", "enabled")
             if states.contains(getattr(Atspi.StateType, s.upper()))]
    actions = []
    action = node.get_action_iface()
    if action is not None:
        actions = [action.get_action_name(i) for i in range(action.get_n_actions())]
    return "%s|%s|%s|%s|%s" % (node.get_role_name(), node.get_name() or "",
                               ",".join(shown), ",".join(actions), node.get_description() or "")


def walk(node, depth):
    print("  " * depth + describe(node))
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            walk(child, depth + 1)


def main():
    application = find_application(sys.argv[1], float(sys.argv[2]) if len(sys.argv) > 2 else 10)
    if application is None:
        print("no application named %s on the accessibility bus" % sys.argv[1], file=sys.stderr)
        return 1
    for i in range(application.get_child_count()):
        walk(application.get_child_at_index(i), 0)
    return 0


if __name__ == "__main__":
    sys.exit(main())
