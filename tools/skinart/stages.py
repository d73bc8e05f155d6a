"""Stage scripts described in a few calls per wave, written out as stagedef.xml."""
from xml.sax.saxutils import quoteattr


class Stage:
    def __init__(self, title):
        self.title = title
        self.items = []  # (frame, order, xml text)

    def _put(self, frame, text):
        self.items.append((frame, len(self.items), text))

    @staticmethod
    def _attrs(values):
        return "".join(" %s=%s" % (k, quoteattr(str(v))) for k, v in values if v is not None)

    def restart(self, frame):
        self._put(frame, '<restartpoint frame="%d"/>' % frame)

    def enemy(self, frame, graphic, motion="straight", x=None, y=None, speed=None, hp=None, item=False,
              stageclear=False):
        """One enemy outside any group; with item it drops a capsule whenever it is shot down."""
        self._put(frame, "<enemy%s/>" % self._attrs([
            ("frame", frame), ("x", x), ("y", y), ("graphic", graphic), ("motion", motion), ("speed", speed),
            ("hp", hp), ("item", "powerup" if item else None), ("stageclear", "true" if stageclear else None)]))

    def group(self, frame, graphic, motion, count, gap, x=None, y=None, speed=None, hp=None, item=True, ys=None):
        """count enemies gap frames apart sharing one set of values; the whole group shot down pays one capsule.
        ys, when given, sets each member's own start height."""
        head = "<group%s>" % self._attrs([
            ("frame", frame), ("x", x), ("y", y), ("graphic", graphic), ("motion", motion), ("speed", speed),
            ("hp", hp), ("item", "powerup" if item else None)])
        members = []
        for i in range(count):
            own = ' y="%d"' % ys[i] if ys is not None else ""
            members.append('      <enemy frame="%d"%s/>' % (i * gap, own))
        self._put(frame, "\n".join([head] + members + ["    </group>"]))

    def xml(self):
        body = "\n    ".join(text for _, _, text in sorted(self.items))
        return '  <stage title=%s>\n    %s\n  </stage>' % (quoteattr(self.title), body)


def stagedef(stages, header):
    return ('<?xml version="1.0" encoding="UTF-8"?>\n<!-- %s\n     Written by tools/skinart/make_skin_art.py: '
            'edit the generator, not this file. -->\n<stagedef>\n' % header
            + "\n".join(s.xml() for s in stages) + "\n</stagedef>\n")
