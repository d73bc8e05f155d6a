"""Sprite sheets: pictures packed on shelves of one BMP, and the graphicdef.xml that cuts them out again."""
from pixelart import Picture


class Sprite:
    def __init__(self, sid, w, h, draw, origin, hit, blend, edge):
        self.id, self.w, self.h, self.draw = sid, w, h, draw
        self.origin, self.hit, self.blend, self.edge = origin, hit, blend, edge
        self.x = self.y = 0


class Sheet:
    def __init__(self, filename, width, gap=1):
        self.filename, self.width, self.gap = filename, width, gap
        self.sprites = []

    def add(self, sid, w, h, draw, origin=None, hit=None, blend="alpha", edge=None):
        """draw(picture, x, y) paints the w x h cell; edge, when given, rings the shapes with that colour."""
        s = Sprite(sid, w, h, draw, origin if origin is not None else (w // 2, h // 2), hit, blend, edge)
        self.sprites.append(s)
        return s

    def build(self):
        x = y = shelf = 0
        for s in self.sprites:
            if x + s.w > self.width:
                x, y, shelf = 0, y + shelf + self.gap, 0
            s.x, s.y = x, y
            x += s.w + self.gap
            shelf = max(shelf, s.h)
        height = (y + shelf + 7) // 8 * 8
        pic = Picture(self.width, height)
        for s in self.sprites:
            s.draw(pic, s.x, s.y)
            if s.edge is not None:
                pic.outline(s.x, s.y, s.x + s.w, s.y + s.h, s.edge)
        return pic


class GraphicDefs:
    """Collects sprite and animation elements in the order they are written."""

    def __init__(self):
        self.parts = []

    def comment(self, text):
        self.parts.append("\n  <!-- %s -->" % text)

    def sprites(self, sheets, only=None):
        for sheet, s in ((sheet, s) for sheet in sheets for s in sheet.sprites):
            if only is not None and s.id not in only:
                continue
            attrs = 'id="%s" filename="%s"' % (s.id, sheet.filename)
            if s.blend:
                attrs += ' blendmode="%s"' % s.blend
            lines = ["  <sprite %s>" % attrs,
                     '    <imagerect left="%d" top="%d" right="%d" bottom="%d"/>' % (s.x, s.y, s.x + s.w, s.y + s.h)]
            if s.origin != (0, 0):
                lines.append('    <origin x="%d" y="%d"/>' % s.origin)
            if s.hit is not None:
                lines.append('    <hitarea left="%d" top="%d" right="%d" bottom="%d"/>' % s.hit)
            lines.append("  </sprite>")
            self.parts.append("\n".join(lines))

    def animation(self, aid, maxframe, repeat, size, origin, frames, hit=None):
        lines = ['  <animation id="%s" maxframe="%d" repeat="%s" width="%d" height="%d">'
                 % (aid, maxframe, "true" if repeat else "false", size[0], size[1]),
                 '    <origin x="%d" y="%d"/>' % origin]
        if hit is not None:
            lines.append('    <hitarea left="%d" top="%d" right="%d" bottom="%d"/>' % hit)
        for ref, frame, alpha in frames:
            lines.append('    <sprite ref="%s" frame="%d"%s/>' % (ref, frame, "" if alpha == 255 else ' alpha="%d"' % alpha))
        lines.append("  </animation>")
        self.parts.append("\n".join(lines))

    def text(self, header):
        return ('<?xml version="1.0" encoding="UTF-8"?>\n<!-- %s\n     Written by tools/skinart/make_skin_art.py: '
                'edit the generator, not this file. -->\n<graphicdef>' % header
                + "\n".join(self.parts) + "\n</graphicdef>\n")
