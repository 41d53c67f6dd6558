"""Small pictures shared by buttons, headers and menu items.

Vector glyphs draw on a Sketch inside a box (x0, y0, x1, y1) in pixels, with
shapes placed in the box's unit square; pixel glyphs are hand-set masks for
the tiniest buttons, where anti-aliasing would only blur.
"""

import math

from . import paint


class Unit:
    """Maps the unit square onto a box."""

    def __init__(self, box):
        self.x0, self.y0, x1, y1 = box
        self.w, self.h = x1 - self.x0, y1 - self.y0

    def __call__(self, x, y):
        return (self.x0 + x * self.w, self.y0 + y * self.h)

    def box(self, x0, y0, x1, y1):
        return self(x0, y0) + self(x1, y1)

    def scale(self, d):
        return d * min(self.w, self.h)


# Pixel glyphs ------------------------------------------------------------------------

PIXEL = {
    # Whole screen, reduced: the screen filled.
    "reduced": ["#########", "#+++++++#", "#+++++++#", "#+++++++#", "#########", "   ###   "],
    # A range of the screen at actual size: a piece inside the screen.
    "actual": ["#########", "#       #", "#  ###  #", "#  ###  #", "#########", "   ###   "],
    # A separate window: two windows, the front one with its title bar.
    "window": ["######    ", "#    #    ", "#  #######", "#  #######", "###+    +#",
               "   #     #", "   #######"],
    "stop": ["#####", "#####", "#####", "#####", "#####"],
    "pause": ["## ##", "## ##", "## ##", "## ##", "## ##"],
    "play": ["#    ", "###  ", "#####", "###  ", "#    "],
}


def pixel(name):
    return paint.pixels(PIXEL[name])


# Vector glyphs -----------------------------------------------------------------------

def monitor(s, box, ink, screen):
    u = Unit(box)
    s.rect(u.box(0.0, 0.05, 1.0, 0.72), ink, radius=u.scale(0.08))
    s.rect(u.box(0.1, 0.15, 0.9, 0.62), screen)
    s.rect(u.box(0.42, 0.72, 0.58, 0.86), ink)
    s.rect(u.box(0.22, 0.86, 0.78, 0.97), ink, radius=u.scale(0.04))


def magnifier(s, box, ink, lens):
    u = Unit(box)
    s.line([u(0.62, 0.62), u(0.94, 0.94)], ink, width=u.scale(0.16))
    s.ellipse(u.box(0.04, 0.04, 0.72, 0.72), fill=lens, outline=ink, width=u.scale(0.11))


def windows(s, box, ink, pane):
    u = Unit(box)
    for x, y in ((0.0, 0.0), (0.34, 0.34)):
        s.rect(u.box(x, y, x + 0.66, y + 0.66), ink, radius=u.scale(0.05))
        s.rect(u.box(x + 0.08, y + 0.2, x + 0.58, y + 0.58), pane)


def mouse(s, box, ink, body):
    u = Unit(box)
    s.rect(u.box(0.2, 0.08, 0.8, 0.96), ink, radius=u.scale(0.3))
    s.rect(u.box(0.3, 0.18, 0.7, 0.86), body, radius=u.scale(0.22))
    s.line([u(0.5, 0.18), u(0.5, 0.44)], ink, width=u.scale(0.08))
    s.line([u(0.32, 0.46), u(0.68, 0.46)], ink, width=u.scale(0.07))


def keyboard(s, box, ink, keys):
    u = Unit(box)
    s.rect(u.box(0.0, 0.22, 1.0, 0.82), ink, radius=u.scale(0.1))
    for row, y in enumerate((0.32, 0.48)):
        for k in range(5 - row):
            x = 0.1 + row * 0.09 + k * 0.17
            s.rect(u.box(x, y, x + 0.12, y + 0.1), keys)
    s.rect(u.box(0.26, 0.64, 0.74, 0.73), keys)


def fit_arrows(s, box, ink):
    u = Unit(box)
    s.ring(u.box(0.18, 0.22, 0.82, 0.78), ink, u.scale(0.09), radius=u.scale(0.06))
    for sx, sy in ((0, 0), (1, 0), (0, 1), (1, 1)):
        tip = u(sx, sy)
        inner = u(0.32 + 0.36 * sx, 0.32 + 0.36 * sy)
        s.line([inner, tip], ink, width=u.scale(0.09))
        hx = u.scale(0.28) * (1 if sx == 0 else -1)
        hy = u.scale(0.28) * (1 if sy == 0 else -1)
        s.polygon([tip, (tip[0] + hx, tip[1]), (tip[0], tip[1] + hy)], ink)


def play(s, box, ink):
    u = Unit(box)
    s.polygon([u(0.2, 0.08), u(0.92, 0.5), u(0.2, 0.92)], ink)


def pause_bars(s, box, ink):
    u = Unit(box)
    for x in (0.16, 0.58):
        s.rect(u.box(x, 0.1, x + 0.26, 0.9), ink, radius=u.scale(0.05))


def stop_square(s, box, ink):
    u = Unit(box)
    s.rect(u.box(0.14, 0.14, 0.86, 0.86), ink, radius=u.scale(0.1))


def waves(s, box, ink):
    """A listening point: a dot with the arcs of what it hears."""
    u = Unit(box)
    s.ellipse(u.box(0.38, 0.62, 0.62, 0.86), fill=ink)
    for r in (0.28, 0.48):
        s.arc(u.box(0.5 - r, 0.74 - r, 0.5 + r, 0.74 + r), 220, 320, ink, width=u.scale(0.1))


def plus(s, box, ink):
    u = Unit(box)
    s.line([u(0.5, 0.12), u(0.5, 0.88)], ink, width=u.scale(0.2))
    s.line([u(0.12, 0.5), u(0.88, 0.5)], ink, width=u.scale(0.2))


def cross(s, box, ink):
    u = Unit(box)
    s.line([u(0.18, 0.18), u(0.82, 0.82)], ink, width=u.scale(0.18))
    s.line([u(0.82, 0.18), u(0.18, 0.82)], ink, width=u.scale(0.18))


def pencil(s, box, ink, wood):
    u = Unit(box)
    s.line([u(0.26, 0.74), u(0.8, 0.2)], ink, width=u.scale(0.3))
    s.line([u(0.3, 0.7), u(0.76, 0.24)], wood, width=u.scale(0.16))
    s.polygon([u(0.05, 0.95), u(0.14, 0.62), u(0.38, 0.86)], ink)


def folder(s, box, ink, paper):
    u = Unit(box)
    s.polygon([u(0.0, 0.2), u(0.38, 0.2), u(0.48, 0.32), u(1.0, 0.32), u(1.0, 0.9),
               u(0.0, 0.9)], ink)
    s.polygon([u(0.08, 0.44), u(1.0, 0.44), u(0.92, 0.84), u(0.0, 0.84)], paper)


def disk(s, box, ink, label):
    u = Unit(box)
    s.rect(u.box(0.05, 0.05, 0.95, 0.95), ink, radius=u.scale(0.1))
    s.rect(u.box(0.24, 0.05, 0.76, 0.36), label)
    s.rect(u.box(0.56, 0.1, 0.68, 0.3), ink)
    s.rect(u.box(0.2, 0.54, 0.8, 0.95), label, radius=u.scale(0.04))


def trash(s, box, ink, body):
    u = Unit(box)
    s.rect(u.box(0.1, 0.14, 0.9, 0.26), ink, radius=u.scale(0.04))
    s.rect(u.box(0.36, 0.04, 0.64, 0.16), ink)
    s.polygon([u(0.18, 0.3), u(0.82, 0.3), u(0.74, 0.96), u(0.26, 0.96)], ink)
    s.polygon([u(0.27, 0.36), u(0.73, 0.36), u(0.67, 0.9), u(0.33, 0.9)], body)
    for x in (0.42, 0.58):
        s.line([u(x, 0.44), u(x, 0.82)], ink, width=u.scale(0.07))


def exit_door(s, box, ink, accent):
    u = Unit(box)
    s.ring(u.box(0.06, 0.06, 0.6, 0.94), ink, u.scale(0.12), radius=u.scale(0.05))
    s.line([u(0.36, 0.5), u(0.86, 0.5)], accent, width=u.scale(0.16))
    s.polygon([u(1.0, 0.5), u(0.72, 0.26), u(0.72, 0.74)], accent)


def gear(s, box, ink, hole):
    u = Unit(box)
    cx, cy = u(0.5, 0.5)
    r_out, r_in = u.scale(0.5), u.scale(0.36)
    points = []
    for k in range(32):
        a = 2 * math.pi * (k + 0.5) / 32
        r = r_out if (k // 2) % 2 == 0 else r_in
        points.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    s.polygon(points, ink)
    s.ellipse(u.box(0.33, 0.33, 0.67, 0.67), fill=hole)


def power(s, box, ink):
    u = Unit(box)
    s.arc(u.box(0.08, 0.12, 0.92, 0.96), -50, 230, ink, width=u.scale(0.14))
    s.line([u(0.5, 0.04), u(0.5, 0.5)], ink, width=u.scale(0.14))


def wand(s, box, ink, spark):
    u = Unit(box)
    s.line([u(0.1, 0.9), u(0.6, 0.4)], ink, width=u.scale(0.15))
    cx, cy = u(0.72, 0.28)
    r = u.scale(0.26)
    star = []
    for k in range(8):
        a = math.pi * k / 4
        d = r if k % 2 == 0 else r * 0.38
        star.append((cx + d * math.cos(a), cy + d * math.sin(a)))
    s.polygon(star, spark)


def refresh(s, box, ink):
    u = Unit(box)
    for start, tip, wing in ((200, (0.9, 0.44), (-1, 1)), (20, (0.1, 0.56), (1, -1))):
        s.arc(u.box(0.1, 0.1, 0.9, 0.9), start, start + 140, ink, width=u.scale(0.13))
        tx, ty = u(*tip)
        d = u.scale(0.22)
        s.polygon([(tx - d, ty), (tx + d, ty), (tx, ty + wing[1] * d * 1.1)], ink)


def badge(s, box, ink, letter_shape):
    """A round badge with a letter drawn by letter_shape(sketch, unit)."""
    u = Unit(box)
    s.ellipse(u.box(0, 0, 1, 1), fill=ink)
    letter_shape(s, u)


def info_letter(s, u):
    s.ellipse(u.box(0.42, 0.16, 0.58, 0.32), fill=(255, 255, 255, 255))
    s.rect(u.box(0.42, 0.4, 0.58, 0.82), (255, 255, 255, 255))


def question_letter(s, u):
    white = (255, 255, 255, 255)
    s.arc(u.box(0.3, 0.16, 0.7, 0.56), 180, 400, white, width=u.scale(0.13))
    s.line([u(0.57, 0.5), u(0.5, 0.58), u(0.5, 0.66)], white, width=u.scale(0.13))
    s.ellipse(u.box(0.43, 0.72, 0.57, 0.86), fill=white)


def frond(s, box, ink, pinnae=7, curl=True):
    """The fern frond of the Fernhold emblem: a leaning stem, tapering pinnae, a curled tip."""
    u = Unit(box)
    p0, p1, p2 = (0.34, 1.0), (0.36, 0.42), (0.72, 0.06)   # quadratic curve, base to tip

    def at(t):
        return tuple((1 - t) ** 2 * a + 2 * (1 - t) * t * b + t * t * c
                     for a, b, c in zip(p0, p1, p2))

    def tangent(t):
        d = [2 * (1 - t) * (b - a) + 2 * t * (c - b) for a, b, c in zip(p0, p1, p2)]
        n = math.hypot(*d)
        return d[0] / n, d[1] / n

    for k in range(pinnae):
        t = 0.2 + 0.68 * k / max(pinnae - 1, 1)
        (x, y), (tx, ty) = at(t), tangent(t)
        length = 0.4 * (1 - t) ** 0.6 * min(1.0, (t + 0.05) * 3.2)
        for side in (1, -1):
            # Each pinna leans toward the tip: its axis mixes the normal and the tangent.
            ax, ay = -ty * side * 0.8 + tx * 0.6, tx * side * 0.8 + ty * 0.6
            n = math.hypot(ax, ay)
            tip = (x + ax / n * length, y + ay / n * length)
            w = length * 0.28
            s.polygon([u(x - tx * w, y - ty * w), u(*tip), u(x + tx * w * 0.6, y + ty * w * 0.6)],
                      ink)
    s.line([u(*at(t / 24)) for t in range(25)], ink, width=u.scale(0.07))
    if curl:
        x, y = at(1.0)
        r = 0.075
        s.arc(u.box(x - 2 * r, y - r * 0.6, x, y + r * 1.4), 90, 400, ink, width=u.scale(0.063))
