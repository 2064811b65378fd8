#!/usr/bin/python3
# A minimal screen reader on the AT-SPI bus; writes to the log $1. At every caret move in a text
# it asks, as a reader does before it speaks, the character count, the line at the caret and the
# one after: "offset<TAB>characters<TAB>line<TAB>milliseconds<TAB>next line". With "poll" as $2 it
# instead finds the document's text (the focused multi-line one, else the first) once a second and
# asks for the line at its caret: "poll<TAB>milliseconds<TAB>offset<TAB>line". Calls wait up to a
# minute. Needs Debian's python3-gi and gir1.2-atspi-2.0 (hence /usr/bin/python3).
import sys
import time
import warnings

import gi

gi.require_version('Atspi', '2.0')
from gi.repository import Atspi, GLib  # noqa: E402

warnings.simplefilter('ignore', DeprecationWarning)
log = open(sys.argv[1], 'a', buffering=1)


def on_caret(event):
    started = time.monotonic()
    try:
        count = Atspi.Text.get_character_count(event.source)
        line = Atspi.Text.get_text_at_offset(event.source, event.detail1,
                                             Atspi.TextBoundaryType.LINE_START)
        took = (time.monotonic() - started) * 1000
        after = Atspi.Text.get_text_after_offset(event.source, event.detail1,
                                                 Atspi.TextBoundaryType.LINE_START)
        log.write('%d\t%d\t%s\t%.1f\t%s\n' % (event.detail1, count, line.content.rstrip('\n'),
                                              took, after.content.rstrip('\n')))
    except Exception as error:  # an object gone while it was read: say so and go on
        log.write('error\t%s\n' % error)


def multiline_texts(node, found, depth=0):
    """Adds the multi-line texts under node to found, in the order of the tree."""
    try:
        if (node.get_state_set().contains(Atspi.StateType.MULTI_LINE)
                and node.get_text_iface() is not None):
            found.append(node)
        if depth < 14:
            for i in range(node.get_child_count()):
                child = node.get_child_at_index(i)
                if child is not None:
                    multiline_texts(child, found, depth + 1)
    except Exception:  # a part of the tree gone while it was walked
        pass
    return found


def document_text():
    """The focused multi-line text, else the first one; None when there is none."""
    texts = multiline_texts(Atspi.get_desktop(0), [])
    for candidate in texts:
        if candidate.get_state_set().contains(Atspi.StateType.FOCUSED):
            return candidate
    return texts[0] if texts else None


text = None


def poll():
    global text
    started = time.monotonic()
    try:
        if text is None:
            text = document_text()
        if text is not None:
            offset = Atspi.Text.get_caret_offset(text)
            line = Atspi.Text.get_text_at_offset(text, offset, Atspi.TextBoundaryType.LINE_START)
            took = (time.monotonic() - started) * 1000
            log.write('poll\t%.1f\t%d\t%s\n' % (took, offset, line.content.rstrip('\n')))
    except Exception as error:  # the text gone (its window closed): look for it again
        text = None
        log.write('error\t%s\n' % error)
    return True


if len(sys.argv) > 2 and sys.argv[2] == 'poll':
    Atspi.set_timeout(60000, 60000)
    GLib.timeout_add(1000, poll)
else:
    listener = Atspi.EventListener.new(on_caret)
    listener.register('object:text-caret-moved')
log.write('ready\n')
Atspi.event_main()
