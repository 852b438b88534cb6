#!/usr/bin/env python3
"""Draws the tool bar's 16x16 pictures and writes them as XPM data to
ui/window/toolbar_pictures.cpp. Each picture is a few strokes on a grid;
the insensitive variants are the same strokes in grey.

    python3 tools/toolbar_pictures.py > ui/window/toolbar_pictures.cpp
"""
import math

N = 16
COLOURS = {'.': 'None', 'k': '#000000', 'b': '#2050c0', 'y': '#f0c000', 'r': '#c02020',
           'g': '#208020', 'w': '#ffffff', 'n': '#806040', 'c': '#60a0e0'}
GREY = {'.': 'None', 'k': '#808080', 'b': '#a0a0a0', 'y': '#b0b0b0', 'r': '#909090',
        'g': '#909090', 'w': '#d0d0d0', 'n': '#909090', 'c': '#b0b0b0'}


class Pic:
    def __init__(self):
        self.p = [['.'] * N for _ in range(N)]

    def dot(self, x, y, c='k'):
        if 0 <= x < N and 0 <= y < N:
            self.p[y][x] = c

    def line(self, x0, y0, x1, y1, c='k'):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(n + 1):
            self.dot(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n), c)

    def rect(self, x0, y0, x1, y1, c='k', fill=None):
        if fill:
            for y in range(y0, y1 + 1):
                for x in range(x0, x1 + 1):
                    self.dot(x, y, fill)
        self.line(x0, y0, x1, y0, c)
        self.line(x0, y1, x1, y1, c)
        self.line(x0, y0, x0, y1, c)
        self.line(x1, y0, x1, y1, c)

    def ellipse(self, cx, cy, rx, ry, c='k', fill=None, a0=0, a1=360):
        if fill:
            for y in range(N):
                for x in range(N):
                    if ((x - cx) / max(rx, .5)) ** 2 + ((y - cy) / max(ry, .5)) ** 2 <= 1.0:
                        self.dot(x, y, fill)
        for i in range(a0 * 2, a1 * 2 + 1):
            t = math.radians(i / 2)
            self.dot(round(cx + rx * math.cos(t)), round(cy - ry * math.sin(t)), c)

    def tri(self, pts, c):
        (x0, y0), (x1, y1), (x2, y2) = pts
        for y in range(N):
            for x in range(N):
                d1 = (x - x1) * (y0 - y1) - (x0 - x1) * (y - y1)
                d2 = (x - x2) * (y1 - y2) - (x1 - x2) * (y - y2)
                d3 = (x - x0) * (y2 - y0) - (x2 - x0) * (y - y0)
                neg = d1 < 0 or d2 < 0 or d3 < 0
                pos = d1 > 0 or d2 > 0 or d3 > 0
                if not (neg and pos):
                    self.dot(x, y, c)


def file_open(p):
    p.rect(1, 4, 12, 13, 'k', 'y')
    p.rect(1, 3, 5, 4, 'k', 'y')
    p.line(3, 7, 14, 7, 'k')
    p.line(14, 7, 12, 13, 'k')


def file_save(p):
    p.rect(1, 1, 14, 14, 'k', 'b')
    p.rect(4, 1, 11, 6, 'k', 'w')
    p.rect(3, 9, 12, 14, 'k', 'w')
    p.dot(9, 3, 'k')
    p.dot(9, 4, 'k')


def mode_hrz(p):
    p.ellipse(7.5, 11, 6.5, 8, 'b', 'c', 0, 180)
    p.line(0, 11, 15, 11, 'g')
    p.rect(0, 12, 15, 14, 'g', 'g')


def mode_eqt(p):
    p.ellipse(7.5, 7.5, 6.5, 6.5, 'k', 'c')
    p.line(7, 1, 7, 14, 'b')
    p.line(1, 7, 14, 7, 'b')


def mode_all1(p):
    p.rect(0, 3, 15, 12, 'k', 'c')
    for x in (4, 8, 12):
        p.line(x, 4, x, 11, 'b')
    p.line(1, 7, 14, 7, 'b')


def mode_all2(p):
    p.ellipse(7.5, 7.5, 7.5, 4.5, 'k', 'c')
    p.ellipse(7.5, 7.5, 3.5, 4.5, 'b', None, 0, 360)
    p.line(1, 7, 14, 7, 'b')


def mode_sol(p):
    p.ellipse(7.5, 7.5, 7, 4, 'k')
    p.ellipse(7.5, 7.5, 1.5, 1.5, 'r', 'y')
    p.ellipse(14, 7.5, 1, 1, 'b', 'b')


def mode_plns(p):
    p.ellipse(7.5, 7.5, 7, 7, 'k', 'n')
    p.ellipse(8.5, 6.5, 4.5, 4.5, 'k', 'c')


def set_date(p):
    p.rect(1, 2, 14, 14, 'k', 'w')
    p.rect(1, 2, 14, 5, 'k', 'r')
    for y in (8, 11):
        for x in (4, 7, 10):
            p.dot(x, y, 'k')
            p.dot(x + 1, y, 'k')


def set_place(p):
    p.ellipse(7.5, 5, 4, 4, 'k', 'r')
    p.tri([(4, 7), (11, 7), (7.5, 14)], 'r')
    p.ellipse(7.5, 5, 1.2, 1.2, 'w', 'w')


def look_hrz(p):
    p.line(7, 1, 7, 9, 'k')
    p.line(4, 6, 7, 9, 'k')
    p.line(10, 6, 7, 9, 'k')
    p.rect(0, 11, 15, 13, 'g', 'g')


def daylight(p):
    p.ellipse(7.5, 7.5, 3, 3, 'r', 'y')
    for a in range(0, 360, 45):
        t = math.radians(a)
        p.line(round(7.5 + 5 * math.cos(t)), round(7.5 + 5 * math.sin(t)),
               round(7.5 + 7 * math.cos(t)), round(7.5 + 7 * math.sin(t)), 'y')


def magnifier(p):
    p.ellipse(6, 6, 5, 5, 'k', 'w')
    p.line(10, 10, 14, 14, 'k')
    p.line(11, 10, 15, 14, 'k')
    p.line(3, 6, 9, 6, 'b')


def zoom_up(p):
    magnifier(p)
    p.line(6, 3, 6, 9, 'b')


def zoom_down(p):
    magnifier(p)


def consline(p):
    pts = [(1, 12), (5, 9), (8, 10), (11, 5), (14, 2), (13, 9)]
    for a, b in zip(pts, pts[1:]):
        p.line(*a, *b, 'b')
    for x, y in pts:
        p.rect(x, y, x + 1, y + 1, 'y', 'y')


def consname(p):
    # "Ori" in a 3x5 hand lettering
    p.rect(1, 5, 4, 11, 'k')
    p.line(6, 7, 6, 11, 'k')
    p.line(7, 7, 9, 7, 'k')
    p.line(11, 7, 11, 11, 'k')
    p.dot(11, 5, 'k')
    p.line(0, 13, 15, 13, 'b')


def planetname(p):
    p.ellipse(6, 6, 4, 4, 'k', 'n')
    p.line(0, 8, 12, 4, 'y')
    p.line(9, 12, 14, 12, 'k')
    p.line(14, 12, 14, 15, 'k')
    p.line(9, 15, 14, 15, 'k')
    p.line(9, 13, 9, 15, 'k')
    p.line(9, 13, 13, 13, 'k')


def nebula(p):
    p.ellipse(7.5, 7.5, 7, 3, 'c', 'c')
    p.ellipse(7.5, 7.5, 4, 1.5, 'b', 'w')


def milkyway(p):
    for i, (x, y) in enumerate([(1, 13), (3, 11), (2, 10), (5, 9), (6, 10), (7, 7), (8, 8),
                                (9, 6), (10, 5), (11, 6), (12, 3), (13, 4), (14, 2), (4, 12)]):
        p.rect(x, y, x + 1, y, 'b', 'b')
        p.dot(x, y + 1, 'c')


def picmark(p):
    p.rect(1, 2, 14, 13, 'k', 'w')
    p.tri([(2, 12), (7, 5), (11, 12)], 'g')
    p.ellipse(11, 5, 1.5, 1.5, 'y', 'y')


def grid_hrz(p):
    p.ellipse(7.5, 14, 7, 12, 'g', None, 0, 180)
    p.ellipse(7.5, 14, 7, 6, 'g', None, 0, 180)
    p.line(7, 2, 7, 14, 'g')
    p.line(0, 14, 15, 14, 'k')


def grid_eqt(p):
    p.ellipse(7.5, 7.5, 7, 7, 'b')
    p.ellipse(7.5, 7.5, 3, 7, 'b', None, 0, 360)
    p.line(1, 7, 14, 7, 'b')
    p.line(2, 4, 13, 4, 'b')
    p.line(2, 11, 13, 11, 'b')


def trace(p):
    for i, (x, y) in enumerate([(1, 13), (3, 11), (5, 9), (7, 8), (9, 7), (11, 5)]):
        p.dot(x, y, 'k')
    p.ellipse(13, 3, 2, 2, 'k', 'y')


def set_step(p):
    p.ellipse(7.5, 7.5, 6.5, 6.5, 'k', 'w')
    p.line(7, 7, 7, 3, 'k')
    p.line(7, 7, 11, 9, 'k')


def reverse(p):
    p.tri([(12, 2), (12, 13), (3, 7.5)], 'g')


def stop_play(p):
    p.rect(3, 3, 12, 12, 'r', 'r')


def continue_play(p):
    p.tri([(3, 2), (3, 13), (12, 7.5)], 'g')


# name, drawing, has an insensitive variant (button order)
PICTURES = [
    ('FileOpen', file_open, False), ('FileSave', file_save, False),
    ('ModeHrz', mode_hrz, False), ('ModeEqt', mode_eqt, False), ('ModeAll1', mode_all1, False),
    ('ModeAll2', mode_all2, False), ('ModeSol', mode_sol, False), ('ModePlns', mode_plns, False),
    ('SetDate', set_date, False), ('SetPlace', set_place, False), ('LookHrz', look_hrz, True),
    ('Daylight', daylight, True), ('ZoomUp', zoom_up, True), ('ZoomDown', zoom_down, True),
    ('Consline', consline, False), ('Consname', consname, False), ('Planetname', planetname, False),
    ('Nebula', nebula, False), ('Milkyway', milkyway, False), ('PicMark', picmark, False),
    ('GridHrz', grid_hrz, False), ('GridEqt', grid_eqt, False), ('Trace', trace, False),
    ('SetStep', set_step, False), ('Reverse', reverse, True), ('StopPlay', stop_play, True),
    ('Continue', continue_play, True),
]


def xpm(name, rows, colours):
    used = sorted({c for r in rows for c in r})
    out = ['const char *const %s[] = {' % name,
           '    "%d %d %d 1",' % (N, N, len(used))]
    out += ['    "%s c %s",' % (c, colours[c]) for c in used]
    out += ['    "%s",' % ''.join(r) for r in rows]
    out[-1] = out[-1].rstrip(',')
    out.append('};')
    return '\n'.join(out)


def main():
    print('// The tool bar\'s pictures, 16 x 16 XPM: generated by tools/toolbar_pictures.py')
    print('// (do not edit; change the drawing there and run it again).')
    print('#include "ui/window/toolbar_pictures.h"\n')
    print('namespace {\n')
    for name, draw, insens in PICTURES:
        p = Pic()
        draw(p)
        print(xpm('k' + name, p.p, COLOURS) + '\n')
        if insens:
            print(xpm('k' + name + 'Insensitive', p.p, GREY) + '\n')
    print('} // namespace\n')
    print('const ToolbarPicture toolbarPictures[kToolbarPictureCount] = {')
    for name, _, insens in PICTURES:
        print('    {k%s, %s},' % (name, ('k' + name + 'Insensitive') if insens else 'nullptr'))
    print('};')


main()
