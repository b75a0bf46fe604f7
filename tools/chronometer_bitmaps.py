"""The chronometer's four bitmaps in two resource languages.

1049 is the finished artwork; 1033 a plainer copy (light blue display, grey
metal buttons, no brand word). Pure black is drawn transparent by the host.
"""
import math
import os

BLACK = (0, 0, 0)
LCD = (105, 114, 84)
LCD_SHADE = (94, 101, 75)
DIVIDER = (28, 28, 27)
AMBER = (165, 109, 52)
AMBER_EDGE = (146, 96, 45)
AMBER_DIVIDER = (16, 10, 5)
PLAIN_BLUE = (166, 202, 240)
BEZEL = (25, 22, 27)
BEZEL_RIM = (48, 44, 52)
LEGEND = (200, 200, 204)

# 5-row glyphs, '#' lit; capitals for the legends, small letters for the brand.
GLYPHS = {
    'O': ['###', '#.#', '#.#', '#.#', '###'], 'A': ['.#.', '#.#', '###', '#.#', '#.#'],
    'T': ['###', '.#.', '.#.', '.#.', '.#.'], 'V': ['#.#', '#.#', '#.#', '#.#', '.#.'],
    'L': ['#..', '#..', '#..', '#..', '###'], 'S': ['###', '#..', '###', '..#', '###'],
    'E': ['###', '#..', '##.', '#..', '###'], 'C': ['###', '#..', '#..', '#..', '###'],
    'R': ['##.', '#.#', '##.', '#.#', '#.#'], 'r': ['..', '..', '##', '#.', '#.'],
    'l': ['#', '#', '#', '#', '#'], 'i': ['#', '.', '#', '#', '#'], 'x': ['...', '...', '#.#', '.#.', '#.#'],
    ' ': ['.', '.', '.', '.', '.'],
}


def canvas(width, height, colour):
    return [[colour] * width for _ in range(height)]


def fill(image, x0, y0, x1, y1, colour):
    """Fills the box x0..x1, y0..y1, both ends included."""
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            image[y][x] = colour


def disc(image, cx, cy, radius, colour):
    for y, row in enumerate(image):
        for x in range(len(row)):
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= radius ** 2:
                row[x] = colour


def text_width(text):
    return sum(len(GLYPHS[c][0]) + 1 for c in text) - 1


def draw_text(image, x, y, text, colour):
    for c in text:
        glyph = GLYPHS[c]
        for dy, line in enumerate(glyph):
            for dx, cell in enumerate(line):
                if cell == '#':
                    image[y + dy][x + dx] = colour
        x += len(glyph[0]) + 1


def centred_text(image, cx, y, text, colour):
    draw_text(image, int(round(cx - text_width(text) / 2)), y, text, colour)


def face(lcd):
    image = canvas(76, 76, BLACK)
    fill(image, 9, 17, 67, 50, lcd)
    return image


def unlit_display():
    image = canvas(59, 34, LCD)
    fill(image, 3, 13, 55, 13, LCD_SHADE)
    fill(image, 3, 14, 55, 14, DIVIDER)
    return image


def lit_display():
    image = canvas(59, 34, AMBER)
    fill(image, 0, 0, 58, 0, AMBER_EDGE)
    fill(image, 0, 33, 58, 33, AMBER_EDGE)
    fill(image, 2, 14, 56, 14, AMBER_DIVIDER)
    return image


def plain_display():
    image = canvas(59, 34, PLAIN_BLUE)
    fill(image, 2, 14, 56, 14, DIVIDER)
    return image


def button(image, cx, cy, colour):
    shade = tuple(max(0, c - 60) for c in colour)
    light = tuple(min(255, c + 60) for c in colour)
    disc(image, cx, cy, 4.6, shade)
    disc(image, cx, cy, 3.8, colour)
    disc(image, cx - 1.2, cy - 1.2, 1.2, light)


def bezel(red, blue, brand):
    image = canvas(76, 76, BLACK)
    disc(image, 38, 38, 37.5, BEZEL_RIM)
    disc(image, 38, 38, 36, BEZEL)
    fill(image, 9, 19, 67, 50, BLACK)
    button(image, 37.5, 6.5, red)
    centred_text(image, 38, 12, 'OAT VOLT', LEGEND)
    centred_text(image, 25.5, 53, 'SEL', LEGEND)
    centred_text(image, 52.5, 53, 'CTRL', LEGEND)
    button(image, 25.5, 65, blue)
    button(image, 52.5, 65, blue)
    if brand:
        centred_text(image, 39, 64, 'Orlix', LEGEND)
    return image


def palette_of(images):
    colours = []
    for image in images:
        for row in image:
            for colour in row:
                if colour not in colours:
                    colours.append(colour)
    assert len(colours) <= 256
    return colours


def draw_all(root, write_bmp):
    metal = (150, 150, 156)
    sets = {
        1049: [face(LCD), unlit_display(), lit_display(), bezel((200, 36, 30), (40, 86, 205), True)],
        1033: [face(PLAIN_BLUE), plain_display(), plain_display(), bezel(metal, metal, False)],
    }
    for language, images in sets.items():
        palette = palette_of(images)
        for number, image in enumerate(images, start=1):
            rows = [[palette.index(c) for c in row] for row in image]
            path = os.path.join(root, 'resources/chronometer/bitmap%d_%d.bmp' % (number, language))
            write_bmp(path, len(image[0]), len(image), palette, rows)
