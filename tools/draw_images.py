#!/usr/bin/env python3
"""Draws the program's pictures as XPM files: the toolbar strip (ten 16 x 15 buttons), the
program icon 128 (32 x 32) and the default file icon 148 (16 x 16 page outline, empty 32 x 32).
Run from the repository root; the XPM files it writes are committed."""

PALETTE = {  # the 16 colours of the classic palette, and transparency
    '.': 'None', 'k': '#000000', 'm': '#800000', 'G': '#008000', 'o': '#808000',
    'n': '#000080', 'p': '#800080', 't': '#008080', 's': '#C0C0C0', 'g': '#808080',
    'r': '#FF0000', 'L': '#00FF00', 'y': '#FFFF00', 'b': '#0000FF', 'f': '#FF00FF',
    'c': '#00FFFF', 'w': '#FFFFFF',
}


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [['.'] * w for _ in range(h)]

    def dot(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def fill(self, x0, y0, x1, y1, c):  # inclusive corners
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y, c)

    def box(self, x0, y0, x1, y1, edge, inside=None):
        if inside:
            self.fill(x0, y0, x1, y1, inside)
        for x in range(x0, x1 + 1):
            self.dot(x, y0, edge)
            self.dot(x, y1, edge)
        for y in range(y0, y1 + 1):
            self.dot(x0, y, edge)
            self.dot(x1, y, edge)

    def hline(self, x0, x1, y, c):
        self.fill(x0, y, x1, y, c)

    def art(self, x0, y0, rows):
        for dy, row in enumerate(rows):
            for dx, c in enumerate(row):
                if c != '.':
                    self.dot(x0 + dx, y0 + dy, c)

    def paste(self, other, x0, y0):
        for y in range(other.h):
            for x in range(other.w):
                self.px[y0 + y][x0 + x] = other.px[y][x]


def page(c, x0, y0, x1, y1, fold=3):
    c.box(x0, y0, x1, y1, 'k', 'w')
    for i in range(fold + 1):  # folded corner
        for j in range(fold + 1 - i):
            c.dot(x1 - j, y0 + i, '.')
    for i in range(fold + 1):
        c.dot(x1 - fold + i, y0 + i, 'k')
        c.dot(x1 - fold, y0 + i, 'k')
        c.dot(x1 - fold + i, y0 + fold, 'k')


def button_new():
    c = Canvas(16, 15)
    page(c, 3, 1, 12, 13)
    return c


def button_open():
    c = Canvas(16, 15)
    c.art(0, 1, [
        "..........kkk...",
        ".........k...k.k",
        "..............kk",
        ".kkk.........kkk",
        "kyyykkkkkkk.....",
        "kyyyyyyyyyk.....",
        "kyyyykkkkkkkkkk.",
        "kyyykoooooooook.",
        "kyykoooooooook..",
        "kykoooooooook...",
        "kkoooooooook....",
        "kkkkkkkkkkk.....",
    ])
    return c


def button_save():
    c = Canvas(16, 15)
    c.box(1, 1, 14, 13, 'k', 't')
    c.box(4, 1, 11, 6, 'k', 'w')
    c.hline(5, 10, 3, 's')
    c.box(4, 9, 11, 13, 'k', 's')
    c.fill(5, 10, 6, 12, 'n')
    return c


def button_cut():
    c = Canvas(16, 15)
    c.art(3, 0, [
        ".k.....k..",
        ".k.....k..",
        ".kk...kk..",
        "..k...k...",
        "..kk.kk...",
        "...kkk....",
        "....k.....",
        "...n.n....",
        ".nnn.nnn..",
        "n..n.n..n.",
        "n..n.n..n.",
        "n..n.n..n.",
        ".nn...nn..",
    ])
    return c


def button_copy():
    c = Canvas(16, 15)
    page(c, 0, 0, 8, 10, 2)
    for y in (3, 5, 7):
        c.hline(2, 6, y, 'g')
    page(c, 6, 4, 15, 14, 2)
    for y in (7, 9, 11):
        c.hline(8, 13, y, 'n')
    return c


def button_paste():
    c = Canvas(16, 15)
    c.box(1, 2, 11, 13, 'k', 'o')
    c.box(4, 1, 8, 3, 'k', 's')
    page(c, 6, 5, 15, 14, 2)
    for y in (8, 10, 12):
        c.hline(8, 13, y, 'n')
    return c


def button_large():
    c = Canvas(16, 15)
    for x0 in (1, 9):
        for y0 in (1, 8):
            c.box(x0, y0, x0 + 5, y0 + 3, 'n', 'c')
            c.hline(x0, x0 + 5, y0 + 5, 'k')
    return c


def button_small():
    c = Canvas(16, 15)
    for x0 in (0, 8):
        for y0 in (1, 5, 9):
            c.box(x0, y0, x0 + 2, y0 + 2, 'n', 'c')
            c.hline(x0 + 4, x0 + 6, y0 + 1, 'k')
    return c


def button_list():
    c = Canvas(16, 15)
    for x0 in (0, 8):
        for y0 in (1, 4, 7, 10):
            c.box(x0, y0, x0 + 1, y0 + 1, 'n', 'c')
            c.hline(x0 + 3, x0 + 6, y0 + 1, 'k')
    return c


def button_details():
    c = Canvas(16, 15)
    for y0 in (1, 4, 7, 10):
        c.box(0, y0, 1, y0 + 1, 'n', 'c')
        c.hline(3, 7, y0 + 1, 'k')
        c.hline(9, 11, y0 + 1, 'k')
        c.hline(13, 15, y0 + 1, 'k')
    return c


def program_icon():
    c = Canvas(32, 32)
    # A card drawer seen from the front: a wooden box with two index cards standing in it.
    c.box(6, 2, 22, 16, 'k', 'w')
    c.hline(8, 20, 5, 'n')
    c.hline(8, 18, 8, 'g')
    c.hline(8, 19, 11, 'g')
    c.box(10, 6, 27, 19, 'k', 'y')
    c.hline(12, 25, 9, 'm')
    c.hline(12, 23, 12, 'o')
    c.hline(12, 24, 15, 'o')
    c.box(2, 14, 29, 29, 'k', 'm')
    c.box(3, 15, 28, 16, 'm', 'r')
    c.box(11, 20, 20, 24, 'k', 's')
    c.hline(13, 18, 22, 'k')
    return c


def default_icon_16():
    c = Canvas(16, 16)
    c.box(2, 0, 13, 15, 'k', 'w')
    for i in range(4):
        for j in range(4 - i):
            c.dot(13 - j, i, '.')
    for i in range(4):
        c.dot(10 + i, i, 'k')
        c.dot(10, i, 'k')
        c.dot(10 + i, 3, 'k')
    return c


def write_xpm(path, name, canvas):
    used = sorted({ch for row in canvas.px for ch in row})
    lines = ['/* XPM */', f'static const char* {name}[] = {{',
             f'"{canvas.w} {canvas.h} {len(used)} 1",']
    lines += [f'"{ch} c {PALETTE[ch]}",' for ch in used]
    lines += [f'"{"".join(row)}",' for row in canvas.px]
    lines[-1] = lines[-1].rstrip(',')
    lines.append('};')
    with open(path, 'w') as out:
        out.write('\n'.join(lines) + '\n')


def main():
    buttons = [button_new(), button_open(), button_save(), button_cut(), button_copy(),
               button_paste(), button_large(), button_small(), button_list(), button_details()]
    strip = Canvas(16 * len(buttons), 15)
    for i, b in enumerate(buttons):
        strip.paste(b, 16 * i, 0)
    write_xpm('resources/toolbar128.xpm', 'toolbar128', strip)
    write_xpm('resources/icon128.xpm', 'icon128', program_icon())
    write_xpm('resources/icon148_16.xpm', 'icon148_16', default_icon_16())
    write_xpm('resources/icon148_32.xpm', 'icon148_32', Canvas(32, 32))


if __name__ == '__main__':
    main()
