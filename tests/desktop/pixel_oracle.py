#!/usr/bin/env python3
"""Holds a picture of the screen against the window's description.

    pixel_oracle.py DESCRIPTION SCREEN.ppm

DESCRIPTION is what the program wrote with --describe-window; SCREEN.ppm a
picture of the whole screen (binary PPM). Every pixel of the client area
belongs to the topmost control the description places there, or to the
window, and must show:
  the window, a frame's inside     their background colour
  a picture box inside its border  its background or a colour it drew with,
                                   and some of what it drew
  a label                          mostly its background, and some text
  a picture box with a picture     the picture across its width or height
and each frame shows an edge at its left, right and bottom sides, and the
text of a label in a font of its own is as wide as that font makes it.
Windows are checked where no window above them lies (and a label's text
not at all where one lies over part of it). Prints what differs
and exits 1; exits 0 when the picture agrees.
"""
import sys


def read_ppm(path):
    with open(path, 'rb') as f:
        kind, width, height, depth, data = f.read().split(maxsplit=4)  # as ImageMagick writes it: no comments
    if kind != b'P6' or depth != b'255':
        raise SystemExit(f'{path}: not a binary PPM with 8-bit channels')
    return int(width), int(height), data


def read_description(path):
    windows = []  # (fields, controls), bottom to top
    for line in open(path, encoding='utf-8'):
        words = line.split()
        if not words:
            continue
        fields = dict(w.split('=', 1) for w in words[1:] if '=' in w)
        fields['name'] = words[1]
        if words[0] == 'window':
            windows.append((fields, []))
        elif words[0] == 'control':
            fields['kind'] = words[2]
            windows[-1][1].append(fields)
    return windows


def main():
    windows = read_description(sys.argv[1])
    screen = read_ppm(sys.argv[2])
    status = 0
    for k, (window, controls) in enumerate(windows):
        above = [tuple(int(v) for v in w['outer'].split(',')) for w, _ in windows[k + 1:] if w['mapped'] == '1']
        status |= check_window(window, controls, above, screen)
    return status


def check_window(window, controls, above, screen):
    screen_w, screen_h, pixels = screen
    title = window['name']
    if window['shown'] != window['mapped']:
        print(f"FAILED: {title}: the model has the window {'shown' if window['shown'] == '1' else 'hidden'}, "
              f"the screen {'shows' if window['mapped'] == '1' else 'does not show'} it")
        return 1
    if window['shown'] == '0':
        print(f'{title}: hidden, as the model says')
        return 0
    ox, oy = int(window['x']), int(window['y'])
    width, height = int(window['width']), int(window['height'])
    scale = float(window['scale'])
    twips = float(window['twips'])
    if ox < 0 or oy < 0 or ox + width > screen_w or oy + height > screen_h:
        print(f'FAILED: {title}: the client area {width}x{height}+{ox}+{oy} is not all on the '
              f'{screen_w}x{screen_h} screen')
        return 1

    def color(x, y):
        at = ((oy + y) * screen_w + ox + x) * 3
        return '%02x%02x%02x' % (pixels[at], pixels[at + 1], pixels[at + 2])

    # Which control owns each pixel: the topmost one there, inside what
    # holds it.
    owner = [[-1] * width for _ in range(height)]
    clip = {'-': (0, 0, width, height)}
    rects = []
    for i, c in enumerate(controls):
        x, y, w, h = (int(c[k]) for k in ('x', 'y', 'width', 'height'))
        cx, cy, cr, cb = clip[c['in']]
        left, top, right, bottom = max(x, cx), max(y, cy), min(x + w, cr), min(y + h, cb)
        b = int(c['border'])
        clip[c['name']] = (max(x + b, left), max(y + b, top), min(x + w - b, right), min(y + h - b, bottom))
        rects.append((x, y, w, h))
        for row in range(top, bottom):
            owner[row][left:right] = [i] * max(0, right - left)

    partly_hidden = set()
    for left, top, w, h in above:  # a window above hides these
        partly_hidden |= {i for i, (x, y, cw, ch) in enumerate(rects)
                          if x < left + w - ox and left - ox < x + cw and y < top + h - oy and top - oy < y + ch}
        for row in range(max(0, top - oy), min(height, top + h - oy)):
            owner[row][max(0, left - ox):max(0, min(width, left + w - ox))] = \
                [-2] * max(0, min(width, left + w - ox) - max(0, left - ox))

    edge = max(1, round(45 / twips * scale))  # a frame's edge band
    caption_band = round(255 / twips * scale)  # a frame's caption
    wrong = {}  # what -> [count, first example]
    label_pixels = {}  # label -> [own pixels, background pixels, first and last column of text]
    picture_ink = {}  # picture box with an image -> its drawn pixels' box

    def report(what, x, y, expected):
        entry = wrong.setdefault(what, [0, f'({x},{y}) is {color(x, y)}, wants {expected}'])
        entry[0] += 1

    for y in range(height):
        for x in range(width):
            i = owner[y][x]
            if i == -2:
                continue
            if i < 0:
                if color(x, y) != window['back']:
                    report('the window outside every control', x, y, window['back'])
                continue
            c = controls[i]
            cx, cy, cw, ch = rects[i]
            kind = c['kind']
            if kind == 'frame':
                inside = cx + edge <= x < cx + cw - edge and cy + caption_band <= y < cy + ch - edge
                if inside and color(x, y) != c['back']:
                    report(f"{c['name']} (frame) inside", x, y, c['back'])
            elif kind == 'picture' and c['picture'] == '1':
                if color(x, y) != c['back']:
                    ink = picture_ink.setdefault(i, [x, y, x, y])
                    ink[:] = [min(ink[0], x), min(ink[1], y), max(ink[2], x), max(ink[3], y)]
            elif kind == 'picture':
                b = int(c['border'])
                if cx + b <= x < cx + cw - b and cy + b <= y < cy + ch - b:
                    allowed = [c['back']] + ([] if c['pens'] == '-' else c['pens'].split(','))
                    if color(x, y) not in allowed:
                        report(f"{c['name']} (picture box)", x, y, ' or '.join(allowed))
            elif kind == 'label':
                counts = label_pixels.setdefault(i, [0, 0, width, -1])
                counts[0] += 1
                behind = controls[[j for j, d in enumerate(controls) if d['name'] == c['in']][0]]['back'] \
                    if c['transparent'] == '1' and c['in'] != '-' else c['back']
                if color(x, y) == behind:
                    counts[1] += 1
                else:
                    counts[2], counts[3] = min(counts[2], x), max(counts[3], x)

    for i, c in enumerate(controls):  # what a picture box drew is there (a later line may cover an earlier one)
        pens = [] if c['pens'] == '-' else c['pens'].split(',')
        x, y, w, h = rects[i]
        if pens and not any(owner[py][px] == i and color(px, py) in pens
                            for py in range(max(0, y), min(height, y + h)) for px in range(max(0, x), min(width, x + w))):
            wrong[f"{c['name']} (picture box) drawing"] = [0, f"nothing drawn in {' or '.join(pens)}"]

    for i, c in enumerate(controls):  # a picture fills most of its box
        if c['kind'] == 'picture' and c['picture'] == '1':
            x0, y0, x1, y1 = picture_ink.get(i, (0, 0, -1, -1))
            if max(x1 - x0, y1 - y0) + 1 < 0.8 * min(rects[i][2], rects[i][3]):
                wrong[f"{c['name']} (picture)"] = [0, f'drawn {x1 - x0 + 1}x{y1 - y0 + 1} in a '
                                                      f'{rects[i][2]}x{rects[i][3]} box']

    for i, (own, background, first, last) in label_pixels.items():
        c = controls[i]
        want = int(c.get('text', '-1'))
        got = last - first + 1 if background < own else 0
        # Ink lies within the advance width, less a pixel or two of bearing
        # at either end; a text too wide for its label is made smaller to fit.
        room = rects[i][2]
        low, high = (want - 4 * scale, want) if want <= room else (0.75 * room, room)
        if i in partly_hidden:  # its text may lie under the window above
            want = -1
        elif own and c['caption'] == '1' and background == own:
            wrong[f"{c['name']} (label) text"] = [own, 'no pixel of text']
        if want >= 0 and not low <= got <= high:
            wrong[f"{c['name']} (label) text width"] = [0, f'{got} pixels wide, the font makes it {want}']
        if own and c['transparent'] == '0' and background < own / 2:
            wrong[f"{c['name']} (label) background"] = [own - background,
                                                         f"only {background} of {own} pixels are {c['back']}"]

    for i, c in enumerate(controls):
        if c['kind'] != 'frame':
            continue
        x, y, w, h = rects[i]
        sides = {'left': [(x + d, y + h // 2) for d in range(edge)],
                 'right': [(x + w - 1 - d, y + h // 2) for d in range(edge)],
                 'bottom': [(x + w // 2, y + h - 1 - d) for d in range(edge)]}
        for side, points in sides.items():
            points = [(px, py) for px, py in points if 0 <= px < width and 0 <= py < height and owner[py][px] == i]
            if points and all(color(px, py) == c['back'] for px, py in points):
                wrong[f"{c['name']} (frame) {side} edge"] = [1, f'no edge drawn at {points[0]}']

    if wrong:
        for what, (count, example) in wrong.items():
            print(f'FAILED: {title}: {what}: {count} pixel(s) differ; {example}')
        return 1
    print(f'{title}: {len(controls)} controls on {width}x{height} pixels agree with the model')
    return 0


if __name__ == '__main__':
    sys.exit(main())
