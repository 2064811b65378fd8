#!/usr/bin/python3
# A minimal screen reader on the AT-SPI bus; writes to the log $1. At every caret move in a text
# it asks, as a reader does before it speaks, the character count, the line at the caret and the
# one after: "offset<TAB>characters<TAB>line<TAB>milliseconds<TAB>next line". Needs Debian's
# python3-gi and gir1.2-atspi-2.0 (hence /usr/bin/python3).
import sys
import time
import warnings

import gi

gi.require_version('Atspi', '2.0')
from gi.repository import Atspi  # noqa: E402

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


listener = Atspi.EventListener.new(on_caret)
listener.register('object:text-caret-moved')
log.write('ready\n')
Atspi.event_main()
