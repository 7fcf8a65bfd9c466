#!/usr/bin/env python3
"""Writes the window's artwork as SVG sources into artwork/.

One look for everything: dark graphite surfaces, a thin steel rim, a red
accent, chamfered corners. The build turns each SVG into the PNG picture of
the same name (rsvg-convert), which the skin tables place by name.

The window backgrounds (L1_BackGround .. L3_BackGround) are painted clMaroon
(128, 0, 0) outside the window's shape: the window is transparent there. Their
outer edge is drawn without anti-aliasing, so no pixel blends into the key
colour. Run from the repository root: python3 tools/make_artwork.py
"""
import math
import pathlib

W, H = 1040, 680                  # the window: every background's size
PAGE = (216, 84, 800, 572)        # the page pictures' place and size
NAV = (12, 84, 194, 572)          # the navigation column

BG = "#12141a"
PANEL = "#1a1d24"
STEEL = "#2b303b"
RIM = "#454c5a"
LINE = "#343a46"
RED = "#e0283a"
RED_HI = "#ff5a68"
RED_DEEP = "#8e1420"
TEXT = "#e6eaf0"
DIM = "#7d8696"
MAROON = "#800000"

TITLES = {1: "QVX-T40", 2: "QVX-T40 電競滑鼠", 3: "KORVANE"}
FONT = "Liberation Sans, Noto Sans CJK TC, sans-serif"


def svg(width, height, body, defs=""):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
            f'viewBox="0 0 {width} {height}">\n<defs>{defs}</defs>\n{body}\n</svg>\n')


def chamfer(x, y, w, h, c):
    return (f"{x + c},{y} {x + w - c},{y} {x + w},{y + c} {x + w},{y + h - c} "
            f"{x + w - c},{y + h} {x + c},{y + h} {x},{y + h - c} {x},{y + c}")


def gradient(name, top, bottom, vertical=True):
    x2, y2 = ("0", "1") if vertical else ("1", "0")
    return (f'<linearGradient id="{name}" x1="0" y1="0" x2="{x2}" y2="{y2}">'
            f'<stop offset="0" stop-color="{top}"/><stop offset="1" stop-color="{bottom}"/>'
            f'</linearGradient>')


def grid(x, y, w, h, step=24):
    lines = []
    for gx in range(x + step, x + w, step):
        lines.append(f'<line x1="{gx}" y1="{y}" x2="{gx}" y2="{y + h}"/>')
    for gy in range(y + step, y + h, step):
        lines.append(f'<line x1="{x}" y1="{gy}" x2="{x + w}" y2="{gy}"/>')
    return f'<g stroke="#ffffff" stroke-opacity="0.025" stroke-width="1">{"".join(lines)}</g>'


def logo(x, y, marks=3):
    """A stylised mouse seen from above, with three speed bars; the first
    `marks` of them lit (the window background lights one per language)."""
    bars = "".join(f'<polygon points="{x + 40 + 10 * i},{y + 30} {x + 46 + 10 * i},{y + 6} '
                   f'{x + 52 + 10 * i},{y + 6} {x + 46 + 10 * i},{y + 30}" '
                   f'fill="{RED_HI if i < marks else STEEL}"/>' for i in range(3))
    return (f'<rect x="{x}" y="{y}" width="24" height="36" rx="12" fill="none" stroke="{TEXT}" '
            f'stroke-width="2.5"/><line x1="{x + 12}" y1="{y + 2}" x2="{x + 12}" y2="{y + 13}" '
            f'stroke="{TEXT}" stroke-width="2.5"/><rect x="{x + 10}" y="{y + 6}" width="4" '
            f'height="6" rx="2" fill="{RED}"/>{bars}')


def background(language):
    defs = gradient("top", "#22262f", "#15171d") + gradient("nav", "#181b22", "#121419")
    body = [f'<rect width="{W}" height="{H}" fill="{MAROON}"/>',
            f'<polygon points="{chamfer(0, 0, W, H, 26)}" fill="{BG}" shape-rendering="crispEdges"/>',
            f'<polygon points="{chamfer(2, 2, W - 4, 70, 24)}" fill="url(#top)"/>',
            grid(0, 74, W, H - 74, 32),
            f'<line x1="24" y1="74" x2="{W - 24}" y2="74" stroke="{RED}" stroke-width="2"/>',
            f'<line x1="24" y1="77" x2="340" y2="77" stroke="{RED_DEEP}" stroke-width="2"/>',
            f'<polygon points="{chamfer(*NAV, 14)}" fill="url(#nav)" stroke="{LINE}"/>',
            f'<line x1="{NAV[0] + 14}" y1="{NAV[1] + 334}" x2="{NAV[0] + NAV[2] - 14}" '
            f'y2="{NAV[1] + 334}" stroke="{LINE}"/>',
            f'<line x1="{NAV[0] + 14}" y1="{NAV[1] + 440}" x2="{NAV[0] + NAV[2] - 14}" '
            f'y2="{NAV[1] + 440}" stroke="{LINE}"/>',
            f'<rect x="{PAGE[0] - 2}" y="{PAGE[1] - 2}" width="{PAGE[2] + 4}" height="{PAGE[3] + 4}" '
            f'fill="none" stroke="{LINE}"/>',
            logo(28, 18, language),
            f'<text x="104" y="46" font-family="{FONT}" font-size="24" font-weight="bold" '
            f'fill="{TEXT}" letter-spacing="2">{TITLES[language]}</text>',
            f'<polygon points="{chamfer(2, 2, W - 4, H - 4, 24)}" fill="none" stroke="{RIM}" '
            f'stroke-width="1.5"/>']
    return svg(W, H, "\n".join(body), defs)


def page_frame(title_marks, inner):
    w, h = PAGE[2], PAGE[3]
    defs = gradient("pg", "#1d2129", "#15181e")
    body = [f'<rect width="{w}" height="{h}" fill="url(#pg)"/>', grid(0, 0, w, h, 24),
            f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" fill="none" stroke="{RIM}"/>',
            f'<polygon points="0,0 {title_marks},0 {title_marks - 16},6 0,6" fill="{RED}"/>',
            inner]
    return svg(w, h, "\n".join(body), defs)


def section_box(x, y, w, h):
    return (f'<polygon points="{chamfer(x, y, w, h, 10)}" fill="#0f1116" fill-opacity="0.55" '
            f'stroke="{LINE}"/><line x1="{x + 10}" y1="{y}" x2="{x + 70}" y2="{y}" '
            f'stroke="{RED}" stroke-width="2"/>')


def mouse_drawing(cx, top):
    """The key page's mouse, from above, with leader lines to the key columns."""
    body = [f'<path d="M{cx - 88},{top + 120} C{cx - 96},{top + 20} {cx - 40},{top} {cx},{top} '
            f'C{cx + 40},{top} {cx + 96},{top + 20} {cx + 88},{top + 120} '
            f'L{cx + 80},{top + 250} C{cx + 70},{top + 320} {cx - 70},{top + 320} {cx - 80},{top + 250} Z" '
            f'fill="#20242d" stroke="{RIM}" stroke-width="2"/>',
            f'<line x1="{cx}" y1="{top}" x2="{cx}" y2="{top + 110}" stroke="{RIM}" stroke-width="2"/>',
            f'<path d="M{cx - 88},{top + 120} Q{cx},{top + 140} {cx + 88},{top + 120}" fill="none" '
            f'stroke="{RIM}" stroke-width="2"/>',
            f'<rect x="{cx - 7}" y="{top + 34}" width="14" height="34" rx="7" fill="{STEEL}" '
            f'stroke="{RED}" stroke-width="2"/>',
            f'<rect x="{cx - 6}" y="{top + 80}" width="12" height="16" rx="3" fill="{RED}"/>',
            f'<path d="M{cx - 92},{top + 140} L{cx - 98},{top + 200}" stroke="{RED}" stroke-width="5" '
            f'stroke-linecap="round"/>',
            f'<path d="M{cx - 94},{top + 214} L{cx - 98},{top + 250}" stroke="{RED_DEEP}" '
            f'stroke-width="5" stroke-linecap="round"/>',
            f'<ellipse cx="{cx}" cy="{top + 250}" rx="34" ry="10" fill="{RED}" opacity="0.35"/>']
    # Leader lines from the mouse to the left and right key columns.
    for i in range(4):
        y = 58 + 52 * i
        body.append(f'<polyline points="180,{y} 210,{y} {cx - 90},{top + 60 + 40 * i}" fill="none" '
                    f'stroke="{DIM}" stroke-opacity="0.45"/>')
        body.append(f'<polyline points="640,{y} 610,{y} {cx + 90},{top + 60 + 40 * i}" fill="none" '
                    f'stroke="{DIM}" stroke-opacity="0.45"/>')
    return "\n".join(body)


def page_backgrounds():
    key = section_box(24, 346, 380, 196) + mouse_drawing(400, 30)
    advanced = (section_box(24, 16, 496, 268) + section_box(24, 300, 496, 60) +
                section_box(24, 372, 496, 70) + section_box(560, 16, 224, 136) +
                section_box(560, 170, 224, 330))
    ring = "".join(f'<circle cx="700" cy="468" r="{14 + 9 * i}" fill="none" stroke="{c}" '
                   f'stroke-width="4" opacity="{0.75 - 0.15 * i}"/>'
                   for i, c in enumerate(["#ff3b4e", "#ff9a2e", "#3ee0a0", "#3aa0ff"]))
    # Effects, LED strip; step time and breathing, colours, profile colours.
    light = (section_box(24, 16, 296, 292) + section_box(24, 324, 296, 146) +
             section_box(336, 16, 448, 168) + section_box(336, 200, 448, 72) +
             section_box(336, 288, 448, 140) + ring)
    macro = "".join(section_box(x, 20, w, 374) + glyph(x + w - 28, 28)
                    for (x, w), glyph in zip(((24, 232), (264, 232), (504, 284)),
                                             (library_glyph, mouse_glyph, lines_glyph)))
    macro += section_box(24, 404, 590, 152)
    chip = (f'<rect x="330" y="110" width="140" height="140" rx="8" fill="#20242d" stroke="{RIM}" '
            f'stroke-width="2"/><rect x="360" y="140" width="80" height="80" rx="4" fill="{RED}" '
            f'opacity="0.85"/>' +
            "".join(f'<line x1="{346 + 18 * i}" y1="96" x2="{346 + 18 * i}" y2="110" stroke="{DIM}" '
                    f'stroke-width="4"/><line x1="{346 + 18 * i}" y1="250" x2="{346 + 18 * i}" '
                    f'y2="264" stroke="{DIM}" stroke-width="4"/>' for i in range(7)) +
            f'<path d="M400,290 L400,330 M384,314 L400,330 L416,314" stroke="{RED_HI}" '
            f'stroke-width="4" fill="none"/>' + section_box(24, 340, 590, 210))
    pages = {"Back1": (160, key), "Back2": (200, advanced), "Back3": (240, light),
             "Back4": (280, macro)}
    out = {}
    for language in (1, 2, 3):
        for name, (marks, inner) in pages.items():
            out[f"L{language}_{name}"] = page_frame(marks + 20 * (language - 1), inner)
    out["Update"] = page_frame(320, chip)
    return out


def plate(w, h, state, slant=10, radius=None):
    """A button plate in its three states: 1 normal, 2 hover, 3 selected."""
    fills = {1: ("#2c313c", "#20242c"), 2: ("#3a414f", "#2a2f39"), 3: (RED, RED_DEEP)}
    edge = {1: RIM, 2: RED_HI, 3: RED_HI}[state]
    top, bottom = fills[state]
    defs = gradient("f", top, bottom)
    if radius is not None:
        shape = (f'<rect x="1" y="1" width="{w - 2}" height="{h - 2}" rx="{radius}" fill="url(#f)" '
                 f'stroke="{edge}" stroke-width="1.5"/>')
    else:
        shape = (f'<polygon points="{slant},1 {w - 1},1 {w - slant},{h - 1} 1,{h - 1}" '
                 f'fill="url(#f)" stroke="{edge}" stroke-width="1.5"/>')
    shine = (f'<line x1="{slant + 4}" y1="3" x2="{w - 8}" y2="3" stroke="#ffffff" '
             f'stroke-opacity="{0.10 if state != 3 else 0.25}"/>')
    return svg(w, h, shape + shine, defs)


def icon_button(kind, state):
    s = 28
    body = plate(s, s, state, radius=6)
    if kind == "Exit":
        glyph = f'<path d="M9,9 L19,19 M19,9 L9,19" stroke="{TEXT}" stroke-width="2.4" stroke-linecap="round"/>'
    elif kind == "Mini":
        glyph = f'<path d="M8,18 L20,18" stroke="{TEXT}" stroke-width="2.4" stroke-linecap="round"/>'
    else:  # Web: a globe
        s = 32
        body = plate(s, s, state, radius=16)
        glyph = (f'<circle cx="16" cy="16" r="9" fill="none" stroke="{TEXT}" stroke-width="1.8"/>'
                 f'<ellipse cx="16" cy="16" rx="4" ry="9" fill="none" stroke="{TEXT}" stroke-width="1.5"/>'
                 f'<path d="M7,16 L25,16 M9,11 L23,11 M9,21 L23,21" stroke="{TEXT}" stroke-width="1.3"/>')
    return body.replace("\n</svg>", glyph + "\n</svg>")


def library_glyph(x, y):
    """A stack of records: the macro library on the computer."""
    return (f'<g fill="none" stroke="{DIM}" stroke-width="1.6" opacity="0.7">'
            f'<rect x="{x}" y="{y + 6}" width="16" height="11" rx="2"/>'
            f'<path d="M{x + 2},{y + 3} L{x + 14},{y + 3} M{x + 4},{y} L{x + 12},{y}"/></g>')


def mouse_glyph(x, y):
    """A small mouse: the macros held by the mouse."""
    return (f'<g fill="none" stroke="{DIM}" stroke-width="1.6" opacity="0.7">'
            f'<rect x="{x + 3}" y="{y}" width="11" height="17" rx="5.5"/>'
            f'<path d="M{x + 8.5},{y} L{x + 8.5},{y + 6}"/></g>')


def lines_glyph(x, y):
    """Event lines: the content of the macro shown."""
    return (f'<g stroke="{DIM}" stroke-width="1.6" opacity="0.7" stroke-linecap="round">'
            + "".join(f'<path d="M{x},{y + 2 + 6 * i} L{x + 3},{y + 2 + 6 * i} '
                      f'M{x + 6},{y + 2 + 6 * i} L{x + 16},{y + 2 + 6 * i}"/>' for i in range(3))
            + '</g>')


def clock_sign(cx, cy):
    return (f'<circle cx="{cx}" cy="{cy}" r="30"/>'
            f'<path d="M{cx},{cy - 18} L{cx},{cy} L{cx + 14},{cy + 8}"/>')


def key_sign(cx, cy):
    return (f'<rect x="{cx - 28}" y="{cy - 24}" width="56" height="48" rx="8"/>'
            f'<path d="M{cx - 10},{cy + 10} L{cx + 10},{cy + 10}"/>')


def cross_sign(cx, cy):
    return (f'<circle cx="{cx}" cy="{cy}" r="22"/>'
            f'<path d="M{cx - 34},{cy} L{cx + 34},{cy} M{cx},{cy - 34} L{cx},{cy + 34}"/>')


def event_icons():
    """ImageList1: the icon of each kind of event line in LB_macro, by the
    kind's digit: 0 delay, 1 down, 2 up, 3 movement, 7 loop start, 8 loop end."""
    s = 20
    plate_ = f'<rect x="1" y="1" width="18" height="18" rx="4" fill="#232833" stroke="{LINE}"/>'
    marks = {
        0: f'<circle cx="10" cy="10" r="5.5" fill="none" stroke="{DIM}" stroke-width="1.5"/>'
           f'<path d="M10,6.5 L10,10 L12.5,11.5" stroke="{DIM}" stroke-width="1.5" fill="none"/>',
        1: f'<path d="M10,4.5 L10,14 M6,10.5 L10,14.5 L14,10.5" stroke="{RED_HI}" '
           f'stroke-width="2" fill="none" stroke-linecap="round"/>',
        2: f'<path d="M10,15.5 L10,6 M6,9.5 L10,5.5 L14,9.5" stroke="{TEXT}" '
           f'stroke-width="2" fill="none" stroke-linecap="round"/>',
        3: f'<path d="M10,4 L10,16 M4,10 L16,10" stroke="{TEXT}" stroke-width="1.6"/>'
           f'<circle cx="10" cy="10" r="3" fill="none" stroke="{RED_HI}" stroke-width="1.5"/>',
        7: f'<path d="M14,7 A5,5 0 1 0 15,12" stroke="{RED_HI}" stroke-width="1.8" fill="none"/>'
           f'<path d="M12,4.5 L15,7 L12,9.5" stroke="{RED_HI}" stroke-width="1.6" fill="none"/>',
        8: f'<rect x="6" y="6" width="8" height="8" rx="1.5" fill="{DIM}"/>',
    }
    return {f"MacroEvent{kind}": svg(s, s, plate_ + mark) for kind, mark in marks.items()}


def small_pictures():
    out = {}
    for on, name in ((False, "D"), (True, "E")):
        tick = (f'<path d="M4.5,9.5 L8,13 L14,5.5" stroke="{TEXT}" stroke-width="2.4" fill="none" '
                f'stroke-linecap="round"/>' if on else "")
        out[f"CbS_{name}"] = svg(18, 18, f'<rect x="1" y="1" width="16" height="16" rx="3" '
                                 f'fill="{RED if on else "#15181e"}" stroke="{RED_HI if on else RIM}" '
                                 f'stroke-width="1.5"/>{tick}')
        dot = f'<circle cx="9" cy="9" r="4" fill="{RED_HI}"/>' if on else ""
        out[f"RdS_{name}"] = svg(18, 18, f'<circle cx="9" cy="9" r="7.5" fill="#15181e" '
                                 f'stroke="{RED_HI if on else RIM}" stroke-width="1.5"/>{dot}')
        fill = RED if on else "#262a33"
        edge = RED_HI if on else LINE
        out[f"Bar1_{name}"] = svg(18, 14, f'<polygon points="4,1 17,1 14,13 1,13" fill="{fill}" '
                                  f'stroke="{edge}"/>')
        out[f"Bar2_{name}"] = svg(36, 10, f'<rect x="1" y="1" width="34" height="8" rx="2" '
                                  f'fill="{fill}" stroke="{edge}"/>')
    out["Col_F"] = svg(28, 28, f'<rect x="1.5" y="1.5" width="25" height="25" rx="4" fill="none" '
                       f'stroke="{TEXT}" stroke-width="2"/><rect x="4.5" y="4.5" width="19" '
                       f'height="19" rx="2" fill="none" stroke="#000000" stroke-opacity="0.6"/>')
    out["Slider_Ruler"] = svg(230, 8, f'<rect x="1" y="2" width="228" height="4" rx="2" '
                              f'fill="#262a33" stroke="{LINE}"/><rect x="1" y="2" width="60" '
                              f'height="4" rx="2" fill="{RED}"/>')
    out["Slider_Thumb"] = svg(12, 20, f'<rect x="1" y="1" width="10" height="18" rx="3" '
                              f'fill="{TEXT}" stroke="{RED}" stroke-width="1.5"/>')
    # The insert panel's backgrounds: one per kind of line inserted, each
    # with a large faint sign of its kind on the right.
    signs = {"InsertDelayBase": clock_sign, "InsertKeyBase": key_sign, "InsertXYBase": cross_sign}
    for name, sign in signs.items():
        out[name] = svg(300, 140, f'<polygon points="{chamfer(1, 1, 298, 138, 10)}" '
                        f'fill="{PANEL}" stroke="{RIM}"/><line x1="12" y1="1" x2="90" y2="1" '
                        f'stroke="{RED}" stroke-width="2"/>'
                        f'<g opacity="0.16" stroke="{TEXT}" fill="none" stroke-width="4" '
                        f'stroke-linecap="round">{sign(250, 52)}</g>')
    out.update(event_icons())
    out["Msg"] = svg(380, 190, f'<polygon points="{chamfer(1, 1, 378, 188, 14)}" fill="{PANEL}" '
                     f'stroke="{RIM}" stroke-width="1.5"/><polygon points="14,1 160,1 150,7 14,7" '
                     f'fill="{RED}"/>')
    return out


def spinner():
    """WaitGif: the loading window's picture; the window turns it."""
    arcs = []
    for i in range(12):
        a = math.radians(i * 30)
        x1, y1 = 25 + 12 * math.sin(a), 25 - 12 * math.cos(a)
        x2, y2 = 25 + 21 * math.sin(a), 25 - 21 * math.cos(a)
        arcs.append(f'<line x1="{x1:.2f}" y1="{y1:.2f}" x2="{x2:.2f}" y2="{y2:.2f}" '
                    f'stroke="{RED_HI if i == 0 else TEXT}" stroke-width="4" stroke-linecap="round" '
                    f'opacity="{1 - i * 0.07:.2f}"/>')
    return svg(50, 50, "".join(arcs))


def app_icon():
    body = (f'<polygon points="{chamfer(8, 8, 240, 240, 40)}" fill="{BG}" stroke="{RED}" '
            f'stroke-width="8"/><g transform="translate(64,52) scale(3.1)">{logo(0, 0)}</g>')
    return svg(256, 256, body)


def main():
    out_dir = pathlib.Path(__file__).resolve().parent.parent / "artwork"
    out_dir.mkdir(exist_ok=True)
    pictures = {f"L{n}_BackGround": background(n) for n in (1, 2, 3)}
    pictures.update(page_backgrounds())
    families = {"SetS": (170, 36, 10), "BtnS": (170, 40, 12), "KeyS": (150, 34, 8),
                "MacroS": (110, 30, 8), "MacroBtnS": (150, 30, 8)}
    for family, (w, h, slant) in families.items():
        for state in (1, 2, 3):
            pictures[f"{family}_0{state}"] = plate(w, h, state, slant)
    for kind in ("Web", "Exit", "Mini"):
        for state in (1, 2, 3):
            pictures[f"{kind}S_0{state}"] = icon_button(kind, state)
    pictures.update(small_pictures())
    pictures["WaitGif"] = spinner()
    pictures["AppIcon"] = app_icon()
    for old in out_dir.glob("*.svg"):
        old.unlink()
    for name, text in sorted(pictures.items()):
        (out_dir / f"{name}.svg").write_text(text, encoding="utf-8")


if __name__ == "__main__":
    main()
