#!/usr/bin/env python3
"""Writes the twelve 32 x 32 arrow icons (174 ... 185) as SVG files next to this script.

One arrow shape, turned to each direction; the light falls from the top left in every
direction, so the gradient is not turned with the shape."""

import math
import pathlib

# Arrow pointing up, in a 32 x 32 box.
UP = [(16, 2), (30, 16), (21, 16), (21, 30), (11, 30), (11, 16), (2, 16)]

# name: (light, dark, outline)
COLOURS = {
    "green": ("#9be870", "#1e8c1e", "#0f4d12"),
    "red": ("#ff8c7a", "#c41a12", "#6b0a06"),
    "grey": ("#e2e2e2", "#8c8c8c", "#4a4a4a"),
}

# resource ID: (direction in quarter turns clockwise from up, colour)
ICONS = {
    179: (0, "green"), 175: (1, "green"), 180: (2, "green"), 177: (3, "green"),
    178: (0, "red"), 174: (1, "red"), 181: (2, "red"), 176: (3, "red"),
    185: (0, "grey"), 184: (1, "grey"), 182: (2, "grey"), 183: (3, "grey"),
}


def turned(points, quarter_turns):
    angle = quarter_turns * math.pi / 2
    c, s = round(math.cos(angle)), round(math.sin(angle))
    return [(16 + c * (x - 16) - s * (y - 16), 16 + s * (x - 16) + c * (y - 16)) for x, y in points]


def svg(quarter_turns, colour):
    light, dark, outline = COLOURS[colour]
    points = " ".join(f"{x:g},{y:g}" for x, y in turned(UP, quarter_turns))
    return f"""<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">
  <defs>
    <linearGradient id="body" gradientUnits="userSpaceOnUse" x1="4" y1="4" x2="28" y2="28">
      <stop offset="0" stop-color="{light}"/>
      <stop offset="1" stop-color="{dark}"/>
    </linearGradient>
  </defs>
  <polygon points="{points}" fill="url(#body)" stroke="{outline}" stroke-width="1.5" stroke-linejoin="round"/>
</svg>
"""


def main():
    here = pathlib.Path(__file__).resolve().parent
    for resource_id, (quarter_turns, colour) in sorted(ICONS.items()):
        (here / f"{resource_id}.svg").write_text(svg(quarter_turns, colour))


if __name__ == "__main__":
    main()
