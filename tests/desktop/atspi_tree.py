#!/usr/bin/python3
# The program's window as a screen reader sees it, through AT-SPI:
#   atspi_tree.py dump           one line per element: depth, role, name,
#                                description, value and "focusable" or "-",
#                                in reading order
#   atspi_tree.py press NAME     runs the first action of the element NAME
# Waits up to ten seconds for the application "quendax" to appear.
import sys, time
import pyatspi

def find_app():
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name.lower() == "quendax":
                return app
        time.sleep(0.1)
    sys.exit("no application quendax on the accessibility bus")

def walk(node, depth=0):
    yield depth, node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1)

def value(node):
    try:
        return "%g" % node.queryValue().currentValue
    except NotImplementedError:
        return "-"

app = find_app()
if sys.argv[1] == "dump":
    for depth, node in walk(app):
        focusable = node.getState().contains(pyatspi.STATE_FOCUSABLE)
        print("%d|%s|%s|%s|%s|%s" % (depth, node.getRoleName(), node.name, node.description, value(node),
                                     "focusable" if focusable else "-"))
else:
    for _, node in walk(app):
        if node.name == sys.argv[2]:
            node.queryAction().doAction(0)
            sys.exit(0)
    sys.exit("no element named " + sys.argv[2])
