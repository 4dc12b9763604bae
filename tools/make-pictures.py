#!/usr/bin/python3
"""Draws every picture of the resource bundle and the window icon.

All shapes are our own, drawn with Pillow and numpy; the random parts use
fixed seeds, so a second run reproduces the committed files.

Usage: /usr/bin/python3 tools/make-pictures.py [OUTDIR]   (default src/gui/resources)
"""
import io
import os
import struct
import sys

import numpy as np
from PIL import Image, ImageChops, ImageDraw, ImageFilter

SS = 4  # supersampling factor for smooth edges
K = 1  # device pixels per pixel of the window: 2 while the @2x pictures are drawn

GOLD = (255, 199, 0)
GOLD_LIGHT = (255, 232, 150)
GREY = (130, 130, 130)


def smooth(draw_fn, size, mode="RGBA", k=None):
    """Draws at SS times the size (times K) and scales down, for antialiased edges."""
    k = K if k is None else k
    w, h = size
    big = Image.new(mode, (w * k * SS, h * k * SS), (0, 0, 0, 0))
    draw_fn(big, ImageDraw.Draw(big), SS * k)
    return big.resize((w * k, h * k), Image.LANCZOS)


def scaled(size):
    return (size[0] * K, size[1] * K)


def gradient(size, stops, horizontal=False):
    """An RGBA gradient through (position, colour) stops, top to bottom."""
    w, h = scaled(size)
    n = w if horizontal else h
    pos = np.linspace(0.0, 1.0, n)
    ps = [p for p, _ in stops]
    channels = [np.interp(pos, ps, [c[i] if i < len(c) else 255 for _, c in stops]) for i in range(4)]
    line = np.stack(channels, axis=-1).astype(np.uint8)
    arr = np.broadcast_to(line[np.newaxis, :, :], (h, w, 4)) if horizontal else \
        np.broadcast_to(line[:, np.newaxis, :], (h, w, 4))
    return Image.fromarray(np.ascontiguousarray(arr), "RGBA")


def rounded_mask(size, radius, inset=0):
    def draw(img, d, s):
        d.rounded_rectangle((inset * s, inset * s, size[0] * s - 1 - inset * s, size[1] * s - 1 - inset * s),
                            radius * s, fill=(255, 255, 255, 255))
    return smooth(draw, size, k=1).split()[3]


def metal_frame(size, radius, rim, body, rim_stops=None):
    """A panel: `body` inside a rim of brushed grey metal `rim` pixels wide."""
    rim_stops = rim_stops or [(0.0, (200, 200, 205)), (0.45, (110, 110, 118)), (0.55, (70, 70, 78)),
                              (1.0, (160, 160, 168))]
    metal = gradient(size, rim_stops)
    size = scaled(size)
    out = Image.new("RGBA", size, (0, 0, 0, 0))
    out.paste(metal, (0, 0), rounded_mask(size, radius * K))
    inner = body if isinstance(body, Image.Image) else Image.new("RGBA", size, body)
    out.paste(inner.crop((0, 0) + size), (0, 0), rounded_mask(size, max(radius - rim, 1) * K, rim * K))
    return out


def with_alpha(img, alpha_scale):
    a = img.split()[3].point(lambda v: int(v * alpha_scale))
    img = img.copy()
    img.putalpha(a)
    return img


# --- background -------------------------------------------------------------

def background(size=(2099, 1440)):
    w, h = size
    rng = np.random.default_rng(20261209)
    sky = gradient(size, [(0.0, (6, 10, 28)), (0.45, (18, 34, 66)), (0.72, (40, 54, 84)), (1.0, (10, 14, 24))])
    img = sky.convert("RGB")

    # A pale moon behind thin haze.
    glow = Image.new("L", size, 0)
    ImageDraw.Draw(glow).ellipse((1450, 210, 1650, 410), fill=255)
    halo = glow.filter(ImageFilter.GaussianBlur(120))
    img = Image.composite(Image.new("RGB", size, (150, 170, 200)), img, halo.point(lambda v: v * 0.55))
    img = Image.composite(Image.new("RGB", size, (225, 230, 238)), img, glow.filter(ImageFilter.GaussianBlur(3)))

    # Stars in the upper sky.
    stars = Image.new("L", size, 0)
    sd = ImageDraw.Draw(stars)
    for _ in range(900):
        x, y = rng.integers(0, w), int(rng.beta(1.2, 3.0) * h * 0.7)
        r = rng.choice([0.6, 0.9, 1.4], p=[0.7, 0.25, 0.05])
        sd.ellipse((x - r, y - r, x + r, y + r), fill=int(rng.integers(90, 255)))
    img = Image.composite(Image.new("RGB", size, (230, 235, 255)), img, stars.filter(ImageFilter.GaussianBlur(0.6)))

    # Mountain ridges, farther ones paler, each with mist at its foot.
    def ridge(base, rough, seed):
        r = np.random.default_rng(seed)
        n = 257
        ys = np.zeros(n)
        step, scale = n - 1, rough
        while step > 1:
            half = step // 2
            for i in range(half, n, step):
                ys[i] = (ys[i - half] + ys[i + half]) / 2 + r.normal(0, scale)
            step, scale = half, scale * 0.55
        xs = np.linspace(0, w, n)
        return [(float(x), float(base + y)) for x, y in zip(xs, ys)]

    layers = [(820, 260, (34, 46, 72), 11), (960, 200, (24, 32, 52), 12), (1100, 170, (14, 19, 32), 13),
              (1250, 120, (7, 9, 16), 14)]
    for base, rough, colour, seed in layers:
        mask = Image.new("L", size, 0)
        pts = ridge(base, rough, seed)
        ImageDraw.Draw(mask).polygon(pts + [(w, h), (0, h)], fill=255)
        img = Image.composite(Image.new("RGB", size, colour), img, mask.filter(ImageFilter.GaussianBlur(1.5)))
        mist = Image.new("L", size, 0)
        ImageDraw.Draw(mist).rectangle((0, base - 40, w, base + 120), fill=70)
        img = Image.composite(Image.new("RGB", size, (90, 110, 140)), img, mist.filter(ImageFilter.GaussianBlur(60)))

    # Painted look: soft grain.
    noise = Image.effect_noise(size, 18).convert("L")
    img = Image.blend(img, Image.merge("RGB", (noise, noise, noise)), 0.035)
    return img.filter(ImageFilter.SMOOTH)


# --- panels, bars, buttons --------------------------------------------------

def panel(size, radius=14, rim=3, alpha=235):
    body = gradient(size, [(0.0, (14, 14, 18, alpha)), (1.0, (4, 4, 6, alpha))])
    return metal_frame(size, radius, rim, body)


def blue_button(size, tone):
    stops = {
        "norm": [(0.0, (70, 130, 210)), (0.48, (28, 74, 150)), (0.52, (18, 56, 122)), (1.0, (30, 84, 160))],
        "hover": [(0.0, (110, 170, 245)), (0.48, (52, 110, 196)), (0.52, (38, 92, 172)), (1.0, (58, 120, 204))],
        "press": [(0.0, (18, 52, 110)), (0.5, (26, 70, 140)), (1.0, (46, 100, 180))],
        "disabled": [(0.0, (120, 120, 124)), (0.5, (84, 84, 88)), (1.0, (100, 100, 104))],
    }[tone]
    body = gradient(size, stops)
    rim = [(0.0, (120, 120, 128)), (0.5, (40, 40, 46)), (1.0, (90, 90, 98))]
    out = metal_frame(size, 6, 3, body, rim)
    # A thin highlight along the top of the glass.
    hl = Image.new("RGBA", scaled(size), (0, 0, 0, 0))
    ImageDraw.Draw(hl).rounded_rectangle((6 * K, 4 * K, (size[0] - 7) * K, (size[1] // 2 - 2) * K), 4 * K,
                                         fill=(255, 255, 255, 0 if tone == "press" else 34))
    return Image.alpha_composite(out, hl)


def combo_bar(size=(171, 30)):
    body = gradient(size, [(0.0, (34, 28, 14)), (0.5, (14, 12, 8)), (1.0, (26, 22, 12))])
    rim = [(0.0, (230, 190, 90)), (0.5, (120, 90, 30)), (1.0, (200, 160, 70))]
    return metal_frame(size, 4, 2, body, rim)


def arrow(colour, size=(17, 17)):
    def draw(img, d, s):
        w, h = size
        d.polygon([(3 * s, 5 * s), ((w - 3) * s, 5 * s), (w / 2 * s, (h - 4) * s)], fill=colour + (255,))
    return smooth(draw, size)


def scroll_arrow(up, tone, size=(25, 24)):
    body = {"normal": [(0.0, (60, 60, 66)), (1.0, (22, 22, 26))],
            "hover": [(0.0, (90, 90, 98)), (1.0, (40, 40, 46))],
            "pressed": [(0.0, (18, 18, 22)), (1.0, (48, 48, 54))]}[tone]
    base = metal_frame(size, 5, 2, gradient(size, body))
    colour = {"normal": GOLD, "hover": GOLD_LIGHT, "pressed": (200, 150, 0)}[tone]

    def draw(img, d, s):
        w, h = size
        if up:
            pts = [(7 * s, 15 * s), ((w - 7) * s, 15 * s), (w / 2 * s, 8 * s)]
        else:
            pts = [(7 * s, 9 * s), ((w - 7) * s, 9 * s), (w / 2 * s, 16 * s)]
        d.polygon(pts, fill=colour + (255,))
    return Image.alpha_composite(base, smooth(draw, size))


def scroll_handle(size):
    body = gradient(size, [(0.0, (44, 44, 50)), (0.5, (20, 20, 24)), (1.0, (36, 36, 42))], horizontal=True)
    out = metal_frame(size, 6, 2, body)
    grip = ImageDraw.Draw(out)
    cy = size[1] // 2
    for dy in (-4, 0, 4):
        grip.line((8 * K, (cy + dy) * K, (size[0] - 9) * K, (cy + dy) * K), fill=(120, 120, 128, 255), width=K)
    return out


def handle(size=(9, 18)):
    body = gradient(size, [(0.0, GOLD_LIGHT), (0.5, GOLD), (1.0, (170, 120, 0))], horizontal=True)
    return metal_frame(size, 3, 1, body, [(0.0, (90, 70, 20)), (1.0, (60, 45, 10))])


def sign(size=(11, 40)):
    def draw(img, d, s):
        w = size[0] * s
        orange = (255, 140, 0, 255)
        d.rounded_rectangle((w * 0.22, 2 * s, w * 0.78, 27 * s), 3 * s, fill=orange)
        d.ellipse((w * 0.2, 31 * s, w * 0.8, 31 * s + w * 0.6), fill=orange)
    return smooth(draw, size)


def chat_logo(size=(30, 24), colour=(235, 238, 255)):
    """Our own chat-bubble mark: a rounded bubble with a tail and two eyes."""
    def draw(img, d, s):
        w, h = size
        fill = colour + (255,)
        d.rounded_rectangle((2 * s, 2 * s, (w - 2) * s, (h - 6) * s), 7 * s, fill=fill)
        d.polygon([(8 * s, (h - 8) * s), (15 * s, (h - 8) * s), (7 * s, (h - 1) * s)], fill=fill)
        eye = (32, 40, 80, 255)
        for cx in (w * 0.36, w * 0.64):
            d.ellipse(((cx - 2.2) * s, 7 * s, (cx + 2.2) * s, 12.5 * s), fill=eye)
    return smooth(draw, size)


def app_icon(px):
    """A gold four-sided gem with a dark "T" on a deep-blue tile."""
    def draw(img, d, s):
        n = px * s
        d.rounded_rectangle((0, 0, n - 1, n - 1), n * 0.2, fill=(16, 30, 70, 255))
        d.rounded_rectangle((n * 0.04, n * 0.04, n * 0.96, n * 0.96), n * 0.17, outline=(150, 160, 190, 255),
                            width=max(1, int(n * 0.025)))
        c = n / 2
        gem = [(c, n * 0.12), (n * 0.88, c), (c, n * 0.88), (n * 0.12, c)]
        d.polygon(gem, fill=(255, 199, 0, 255))
        d.polygon([(c, n * 0.12), (n * 0.88, c), (c, c)], fill=(255, 226, 120, 255))
        d.polygon([(n * 0.12, c), (c, n * 0.88), (c, c)], fill=(200, 140, 0, 255))
        bar = n * 0.07
        d.rectangle((n * 0.33, n * 0.34, n * 0.67, n * 0.34 + bar), fill=(30, 30, 50, 255))
        d.rectangle((c - bar / 2, n * 0.34, c + bar / 2, n * 0.7), fill=(30, 30, 50, 255))
    return smooth(draw, (px, px))


def write_ico(path, images):
    """A Windows icon: the small sizes as 32-bit bitmaps, 256 as PNG."""
    entries, blobs = [], []
    for img in images:
        w, h = img.size
        if w >= 256:
            buf = io.BytesIO()
            img.save(buf, "PNG", optimize=True)
            blob = buf.getvalue()
        else:
            bgra = np.array(img.convert("RGBA"))[::-1, :, [2, 1, 0, 3]].tobytes()
            mask_row = ((w + 31) // 32) * 4
            header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(bgra) + mask_row * h, 0, 0, 0, 0)
            blob = header + bgra + bytes(mask_row * h)
        entries.append((w, h, blob))
        blobs.append(blob)
    offset = 6 + 16 * len(entries)
    out = struct.pack("<HHH", 0, 1, len(entries))
    for w, h, blob in entries:
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(out + b"".join(blobs))


def save_png(img, path, rgb=False):
    (img.convert("RGB") if rgb else img.convert("RGBA")).save(path, "PNG", optimize=True)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "src", "gui",
                                                               "resources")
    for folder in ("buttons", "main_window", "scrollbar"):
        os.makedirs(os.path.join(out, folder), exist_ok=True)
    mw = lambda name: os.path.join(out, "main_window", name)
    sb = lambda name: os.path.join(out, "scrollbar", name)
    bt = lambda name: os.path.join(out, "buttons", name)

    background().save(mw("background.jpg"), "JPEG", quality=88, progressive=True, optimize=True)
    write_ico(mw("icon.ico"), [app_icon(px) for px in (16, 32, 64, 80, 128, 256)])
    # The window's pictures once as they are, once twice as large for scaled desktops (Qt takes
    # name@2x.png from 150 % up).
    global K
    for K, suffix in ((1, ""), (2, "@2x")):
        window_pictures(lambda name: mw(name.replace(".png", suffix + ".png")),
                        lambda name: sb(name.replace(".png", suffix + ".png")),
                        lambda name: bt(name.replace(".png", suffix + ".png")))
    K = 1


def window_pictures(mw, sb, bt):
    save_png(panel((520, 580)), mw("bg.png"))
    save_png(chat_logo(), mw("discord_logo.png"))
    save_png(handle(), mw("handle.png"))
    save_png(combo_bar(), mw("bar.png"))
    save_png(arrow(GOLD), mw("arrow.png"))
    save_png(arrow(GOLD_LIGHT), mw("arrow_hover.png"))
    save_png(arrow(GREY), mw("arrow_disabled.png"))
    # Opaque inside: the rows behind an open list must not show through.
    save_png(panel((200, 56), radius=6, rim=2, alpha=255), mw("bg_small.png"))
    save_png(gradient((108, 15), [(0.0, (46, 46, 50)), (1.0, (28, 28, 32))]), mw("listbg.png"), rgb=True)
    save_png(sign(), mw("sign.png"))

    for up in (True, False):
        for tone in ("normal", "hover", "pressed"):
            name = "scroll_arrow_%s_%s.png" % ("up" if up else "down", tone)
            save_png(scroll_arrow(up, tone), sb(name))
    save_png(scroll_handle((25, 150)), sb("scroll_handler.png"))
    save_png(scroll_handle((25, 23)), sb("scroll_handler_mini.png"))

    for tone in ("norm", "hover", "press", "disabled"):
        save_png(blue_button((270, 41), tone), bt("but_%s.png" % tone))
        save_png(blue_button((95, 41), tone), bt("but_small_%s.png" % tone))


if __name__ == "__main__":
    main()
