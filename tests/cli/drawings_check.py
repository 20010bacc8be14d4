#!/usr/bin/python3
"""decagon-cli's PDF and DXF read back by programs that share no code with it.

    drawings_check.py DECAGON_CLI GROUP...   (GROUP: paper, scale, coordinates, tiles, validity, dxf,
                                              librecad)

paper     the locale's paper (LC_PAPER) unless --paper names one;
coordinates  MuPDF's trace of the drawing: vertices, circles and their place
          on the page against the SVG's, to 0.01 mm;
scale     the PDF rendered by poppler (pdftoppm) and MuPDF (mutool draw) at
          10 pixels to the millimetre: the figure's square and the test
          squares measured in pixels;
tiles     every page of a tiled PDF placed by its offsets, against the same
          figure on one page of paper large enough to hold it, and each
          overlap the same on both neighbours (the alignment marks meet);
validity  qpdf --check finds nothing in any PDF written here;
dxf       ezdxf reads the DXF with no error, fix or audit finding: entities,
          layers, colours, the closed outline and every coordinate against
          the SVG's, in each unit;
librecad  LibreCAD converts the DXF to PDF, which shows the figure at its size.
"""
import math
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

from PIL import Image, ImageChops

CLI = sys.argv[1]
WORK = tempfile.mkdtemp(prefix="decagon-drawings-")
failures = []
checks = [0]
written_pdfs = []

A4 = (210.0, 297.0)
SVG = "{http://www.w3.org/2000/svg}"
MARGIN = 10.0
FOOT = 10.0  # between the test squares and the drawing area


def check(condition, message):
    checks[0] += 1
    if not condition:
        failures.append(message)
        print("FAIL:", message)
    return condition


def cli(*arguments):
    result = subprocess.run([CLI, *arguments], capture_output=True, text=True)
    return result


def pdf(name, *arguments):
    path = os.path.join(WORK, name)
    result = cli("--pdf", path, *arguments)
    check(result.returncode == 0 and result.stderr == "", "decagon-cli %s: %s" % (arguments, result.stderr))
    written_pdfs.append(path)
    return path


def render(path, pixels_per_mm, reader, first=None):
    """Every page (or one) as an RGB image, by poppler or MuPDF."""
    dpi = pixels_per_mm * 25.4
    stem = os.path.join(WORK, os.path.basename(path) + "-" + reader)
    if reader == "poppler":
        command = ["pdftoppm", "-r", "%g" % dpi, "-png"]
        if first is not None:
            command += ["-f", str(first), "-l", str(first)]
        subprocess.run(command + [path, stem], check=True)
        names = sorted(n for n in os.listdir(WORK) if n.startswith(os.path.basename(stem) + "-"))
    else:
        command = ["mutool", "draw", "-q", "-r", "%g" % dpi, "-o", stem + "-%03d.png", path]
        if first is not None:
            command.append(str(first))
        subprocess.run(command, check=True, stderr=subprocess.DEVNULL)
        names = sorted(n for n in os.listdir(WORK) if n.startswith(os.path.basename(stem) + "-"))
    images = [Image.open(os.path.join(WORK, n)).convert("RGB") for n in names]
    for n in names:
        os.remove(os.path.join(WORK, n))
    return images


def svg_of(*arguments):
    result = cli("--svg", "-", *arguments)
    return ElementTree.fromstring(result.stdout)


def hex_colour(text):
    return tuple(int(text[i : i + 2], 16) for i in (1, 3, 5))


def colour_mask(image, colour, tolerance):
    """255 where every channel lies within tolerance of colour, else 0."""
    difference = ImageChops.difference(image, Image.new("RGB", image.size, colour))
    red, green, blue = difference.split()
    largest = ImageChops.lighter(ImageChops.lighter(red, green), blue)
    return largest.point(lambda v: 255 if v <= tolerance else 0)


def bbox_of(image, colour, tolerance):
    """The bounding box (left, top, right, bottom; exclusive) of the pixels near colour."""
    return colour_mask(image, colour, tolerance).getbbox()


def near(colour, target, tolerance=24):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, target))


# --- scale ---------------------------------------------------------------


def test_scale():
    # Heights that fit one page: the figure's background square must measure
    # the height, the test squares 50 mm and 2 in, whoever renders the file.
    cases = [("a4", "150", "mm", 150.0), ("letter", "12", "cm", 120.0), ("a3", "7.5", "in", 190.5)]
    ppm = 10
    for paper, height, unit, side_mm in cases:
        path = pdf("scale-%s.pdf" % paper, "--paper", paper, "--height", height, "--unit", unit)
        background = hex_colour(svg_of("--height", height).find("{http://www.w3.org/2000/svg}rect").get("fill"))
        for reader in ("poppler", "mutool"):
            (page,) = render(path, ppm, reader)
            what = "%s %s %s by %s" % (paper, height, unit, reader)
            width, height_px = page.size
            # The drawing area lies above the foot; the figure is the
            # background square, which the circle touches on every side.
            area = page.crop((0, 0, width, height_px - int(72 * ppm)))
            box = bbox_of(area, background, 8)
            if check(box is not None, what + ": no figure"):
                measured = ((box[2] - box[0]) / ppm, (box[3] - box[1]) / ppm)
                for length in measured:
                    check(abs(length - side_mm) <= 0.3, "%s: figure %.1f mm, not %.1f" % (what, length, side_mm))
            # The test square at the lower-left corner, inside the margin.
            foot = page.crop((0, height_px - int(62 * ppm), int(62 * ppm), height_px))
            box = bbox_of(foot, (0, 0, 0), 99)
            if check(box is not None, what + ": no test square"):
                for length in ((box[2] - box[0]) / ppm, (box[3] - box[1]) / ppm):
                    check(abs(length - 50.2) <= 0.3, "%s: test square %.2f mm, not 50" % (what, length))
                check(abs(box[0] / ppm - 9.9) <= 0.3, "%s: test square %.2f mm from the edge" % (what, box[0] / ppm))
            if paper == "letter":
                inch = page.crop((int(63 * ppm), height_px - int(62 * ppm), int(120 * ppm), height_px))
                box = bbox_of(inch, (0, 0, 0), 99)
                if check(box is not None, what + ": no 2 inch square"):
                    for length in ((box[2] - box[0]) / ppm, (box[3] - box[1]) / ppm):
                        check(abs(length - 51.0) <= 0.3, "%s: inch square %.2f mm, not 50.8" % (what, length))


def test_coordinates():
    # MuPDF's own reading of the drawing (mutool trace): the outline's
    # vertices and the circles' points against the SVG's, and where the page
    # places them, each to within 0.01 mm.
    for paper, height, unit, mm_per_unit in (("a4", "150", "mm", 1.0), ("a3", "-7.5", "in", 25.4)):
        path = pdf("trace-%s.pdf" % paper, "--paper", paper, "--height", height, "--unit", unit)
        trace = ElementTree.fromstring(subprocess.run(["mutool", "trace", path, "1"], capture_output=True, check=True).stdout)
        svg = svg_of("--height", height)
        view = [float(v) for v in svg.get("viewBox").split()]
        origin, size = view[0], view[2]
        what = "PDF %s %s %s" % (paper, height, unit)
        polygon = svg.find(SVG + "polygon")
        wanted = [tuple(map(float, p.split(","))) for p in polygon.get("points").split()]
        strokes = [e for e in trace.iter("stroke_path") if len(e) == 11 and e[-1].tag == "closepath"]
        if not check(len(strokes) == 1, what + ": %d closed outlines" % len(strokes)):
            continue
        outline = strokes[0]
        points = [(float(e.get("x")), float(e.get("y"))) for e in outline if e.tag in ("moveto", "lineto")]
        tolerance = 0.01 / mm_per_unit
        for point, target in zip(points, wanted):
            check(all(abs(a - b) <= tolerance for a, b in zip(point, target)), "%s: vertex %s, not %s" % (what, point, target))
        # The form's scale, and the figure centred in the drawing area (y
        # down from the page's top, in points).
        a, b, c, d, e, f = map(float, outline.get("transform").split())
        k = 72 / 25.4 * mm_per_unit
        check(abs(a - k) < 1e-3 and abs(d - k) < 1e-3 and b == 0 and c == 0, what + ": scale %s" % outline.get("transform"))
        page_w, page_h = {"a4": (210, 297), "a3": (297, 420)}[paper]
        figure = size * mm_per_unit
        left = MARGIN + (page_w - 2 * MARGIN - figure) / 2
        top = MARGIN + (page_h - MARGIN - (MARGIN + 50 + FOOT) - figure) / 2
        for x, y in points:
            page_x = (a * x + e) * 25.4 / 72
            page_y = (d * y + f) * 25.4 / 72
            expected_x = left + (x - origin) * mm_per_unit
            expected_y = top + (y - origin) * mm_per_unit
            check(abs(page_x - expected_x) <= 0.01 and abs(page_y - expected_y) <= 0.01,
                  "%s: a vertex at %.4f, %.4f mm on the page, not %.4f, %.4f" % (what, page_x, page_y, expected_x, expected_y))
        # Every point of the circles' curves lies on the SVG's circle.
        for element in svg.iter(SVG + "circle"):
            cx, cy, r = (float(element.get(n)) for n in ("cx", "cy", "r"))
            for path_element in trace.iter("stroke_path"):
                start = path_element[0]
                if start.tag != "moveto" or abs(float(start.get("x")) - (cx + r)) > 1e-6 or abs(float(start.get("y")) - cy) > 1e-6:
                    continue
                x0, y0 = cx + r, cy
                for curve in path_element.iter("curveto"):
                    x1, y1, x2, y2, x3, y3 = (float(curve.get(n)) for n in ("x1", "y1", "x2", "y2", "x3", "y3"))
                    for t in (0.25, 0.5, 0.75, 1.0):
                        u = 1 - t
                        x = u ** 3 * x0 + 3 * u * u * t * x1 + 3 * u * t * t * x2 + t ** 3 * x3
                        y = u ** 3 * y0 + 3 * u * u * t * y1 + 3 * u * t * t * y2 + t ** 3 * y3
                        check(abs(math.hypot(x - cx, y - cy) - r) * mm_per_unit <= 0.01, what + ": a circle's point off by %g"
                              % (math.hypot(x - cx, y - cy) - r))
                    x0, y0 = x3, y3


# --- tiles ---------------------------------------------------------------


def tile_layout(figure, paper, overlap):
    """Pages across and down, the drawing area and the first tile's corner,
    as decagon-cli --help and the README describe them (either orientation,
    the one with fewer pages)."""
    best = None
    for width, height in (paper, paper[::-1]):
        area_w = width - 2 * MARGIN
        area_h = height - MARGIN - (MARGIN + 50 + FOOT)

        def count(area):
            return 1 if figure <= area else math.ceil((figure - overlap) / (area - overlap))

        columns, rows = count(area_w), count(area_h)
        pages = columns * rows + (1 if columns * rows > 1 else 0)
        if best is None or pages < best["pages"]:
            best = dict(pages=pages, columns=columns, rows=rows, page=(width, height), area=(area_w, area_h))
    span_w = best["columns"] * best["area"][0] - (best["columns"] - 1) * overlap
    span_h = best["rows"] * best["area"][1] - (best["rows"] - 1) * overlap
    best["grid"] = ((figure - span_w) / 2, (figure - span_h) / 2)
    return best


def test_tiles():
    figure, overlap, ppm = 600.0, 12.0, 2
    tiled = pdf("tiles.pdf", "--height", "600", "--paper", "a4", "--overlap", "12")
    whole = pdf("whole.pdf", "--height", "600", "--paper", "700x700")
    layout = tile_layout(figure, A4, overlap)
    pages = render(tiled, ppm, "poppler")
    check(len(pages) == layout["pages"], "tiles: %d pages, not %d" % (len(pages), layout["pages"]))
    (reference_page,) = render(whole, ppm, "poppler")
    single = tile_layout(figure, (700.0, 700.0), overlap)
    check(single["pages"] == 1, "tiles: the reference needs one page")
    # The reference figure, centred in its drawing area.
    left = MARGIN + (single["area"][0] - figure) / 2
    top = MARGIN + (single["area"][1] - figure) / 2
    size = round(figure * ppm)
    reference = reference_page.crop((round(left * ppm), round(top * ppm), round(left * ppm) + size, round(top * ppm) + size))

    assembled = Image.new("RGB", (size, size), (255, 0, 255))
    step_w = layout["area"][0] - overlap
    step_h = layout["area"][1] - overlap
    tiles = pages[1:]
    for index, page in enumerate(tiles):
        column, row = index % layout["columns"], index // layout["columns"]
        x0 = layout["grid"][0] + column * step_w  # figure millimetres at the area's left edge
        y0 = layout["grid"][1] + row * step_h
        area = page.crop(
            (round(MARGIN * ppm), round(MARGIN * ppm), round((MARGIN + layout["area"][0]) * ppm), round((MARGIN + layout["area"][1]) * ppm))
        )
        # Each tile gives the part no neighbour's overlap covers, so marks and
        # cut lines stay out of the comparison.
        keep_left = overlap + 1 if column > 0 else 0
        keep_top = overlap + 1 if row > 0 else 0
        keep_right = overlap + 1 if column + 1 < layout["columns"] else 0
        keep_bottom = overlap + 1 if row + 1 < layout["rows"] else 0
        part = area.crop(
            (round(keep_left * ppm), round(keep_top * ppm), area.width - round(keep_right * ppm), area.height - round(keep_bottom * ppm))
        )
        assembled.paste(part, (round((x0 + keep_left) * ppm), round((y0 + keep_top) * ppm)))
        # The right overlap against the right neighbour's left overlap: the
        # same figure and the same marks, between the two cut edges.
        if column + 1 < layout["columns"]:
            neighbour = tiles[index + 1]
            mine = page.crop((round((MARGIN + layout["area"][0] - overlap + 1) * ppm), round(MARGIN * ppm),
                              round((MARGIN + layout["area"][0] - 1) * ppm), round((MARGIN + layout["area"][1]) * ppm)))
            theirs = neighbour.crop((round((MARGIN + 1) * ppm), round(MARGIN * ppm), round((MARGIN + overlap - 1) * ppm),
                                     round((MARGIN + layout["area"][1]) * ppm)))
            check(mismatch(mine, theirs) < 0.02, "tiles: the overlap of %d and its right neighbour differ" % index)

    # Pixels no tile gives (the overlaps) are taken from the reference.
    assembled.paste(reference, (0, 0), colour_mask(assembled, (255, 0, 255), 0))
    share = mismatch(assembled, reference)
    check(share < 0.01, "tiles: %.2f %% of the assembled figure differs from the single page" % (share * 100))


def mismatch(first, second):
    """The share of pixels whose colours differ clearly."""
    difference = ImageChops.difference(first, second).convert("L")
    histogram = difference.histogram()
    return sum(histogram[64:]) / max(1, first.width * first.height)


# --- validity ------------------------------------------------------------


def test_validity():
    # Also the tallest: the page bound's side, and a refused one.
    for name, arguments in (("letter-big.pdf", ("--height", "2000", "--paper", "letter")),
                            ("legal-negative.pdf", ("--height", "-77.125", "--paper", "legal", "--diagonals", "4"))):
        pdf(name, *arguments)
    for path in written_pdfs:
        result = subprocess.run(["qpdf", "--check", path], capture_output=True, text=True)
        check(result.returncode == 0 and result.stderr == "" and "warning" not in result.stdout.lower(),
              "qpdf --check %s: %s %s" % (path, result.stdout, result.stderr))
    refused = os.path.join(WORK, "refused.pdf")
    for arguments in (("--height", "1e6"), ("--height", "0.5"), ("--side", "0.1", "--unit", "in")):
        result = cli("--pdf", refused, *arguments)
        check(result.returncode == 1 and result.stderr == "Cannot create the image\n" and not os.path.exists(refused),
              "PDF %s: status %d, %r" % (arguments, result.returncode, result.stderr))


def xy(vector):
    return (vector[0], vector[1])


# --- dxf -----------------------------------------------------------------

def test_dxf():
    import ezdxf
    from ezdxf import recover
    from ezdxf.colors import DXF_DEFAULT_COLORS

    units = {"mm": 4, "cm": 5, "in": 1}
    # ezdxf's standard colours, but for the greys 250 to 254, which it gives
    # unlike dxflib and LibreCAD (a third of white to five sixths).
    table = list(DXF_DEFAULT_COLORS)
    for index, share in zip(range(250, 255), (0.33, 0.464, 0.598, 0.732, 0.866)):
        grey = round(share * 255)
        table[index] = grey << 16 | grey << 8 | grey
    for arguments in (("--height", "254.884"), ("--height", "-77.125", "--diagonals", "4", "--unit", "in"),
                      ("--side", "40", "--unit", "cm", "--external-circle", "no"), ("--height", "3", "--internal-circle", "no")):
        what = "DXF %s" % (arguments,)
        path = os.path.join(WORK, "figure.dxf")
        result = cli("--dxf", path, *arguments)
        if not check(result.returncode == 0, what + ": " + result.stderr):
            continue
        document, auditor = recover.readfile(path)
        check(not auditor.errors and not auditor.fixes, what + ": recover %s %s" % (auditor.errors, auditor.fixes))
        audit = document.audit()
        check(not audit.errors and not audit.fixes, what + ": audit %s %s" % (audit.errors, audit.fixes))
        unit = arguments[arguments.index("--unit") + 1] if "--unit" in arguments else "mm"
        check(document.header.get("$INSUNITS") == units[unit], what + ": $INSUNITS")

        svg = svg_of(*arguments)
        view = [float(v) for v in svg.get("viewBox").split()]
        origin, size = view[0], view[2]

        def expected(x, y):  # the SVG's point in the DXF: y upward, lower-left corner at the origin
            return (x - origin, origin + size - y)

        def same(point, target, what_point):
            check(all(abs(a - b) <= 1e-6 * max(1.0, size) for a, b in zip(point, target)),
                  "%s: %s at %s, not %s" % (what, what_point, tuple(point), target))

        layers = {layer.dxf.name: layer for layer in document.layers}
        entities = list(document.modelspace())
        for element in svg:
            tag = element.tag.replace(SVG, "")
            if tag == "title":
                continue
            name = element.get("id").upper()
            layer = layers.get(name)
            if not check(layer is not None, "%s: no layer %s" % (what, name)):
                continue
            on_layer = [e for e in entities if e.dxf.layer == name]
            colour = element.get("stroke") or element.get("fill")
            if tag == "g" and element.get("stroke") is None:
                colour = element[1].get("stroke")  # the dashed circle over the white one
            wanted = hex_colour(colour)
            distance = lambda aci: sum((((table[aci] >> s) & 255) - c) ** 2 for s, c in zip((16, 8, 0), wanted))
            best = min(distance(i) for i in range(1, 256) if i != 7)
            if wanted in ((0, 0, 0), (255, 255, 255)):
                check(layer.dxf.color == 7, "%s: layer %s colour %d, not 7" % (what, name, layer.dxf.color))
            else:
                # Tables of the standard colours differ by a few steps (ezdxf's
                # greys most), hence the allowance.
                check(math.sqrt(distance(layer.dxf.color)) <= math.sqrt(best) + 30,
                      "%s: layer %s colour %d is far from the nearest for %s" % (what, name, layer.dxf.color, wanted))
            if tag == "rect":
                (square,) = on_layer
                check(square.dxftype() == "POLYLINE" and square.is_closed, what + ": background not closed")
                points = sorted(tuple(round(c, 6) for c in xy(v.dxf.location)) for v in square.vertices)
                check(points == sorted([(0, 0), (0, size), (size, 0), (size, size)]), what + ": background %s" % points)
            elif tag in ("circle", "g") and "circle" in name.lower():
                circle_element = element if tag == "circle" else element[1]
                (circle,) = on_layer
                check(circle.dxftype() == "CIRCLE", what + ": " + name)
                same(xy(circle.dxf.center), expected(float(circle_element.get("cx")), float(circle_element.get("cy"))), name)
                check(abs(circle.dxf.radius - float(circle_element.get("r"))) <= 1e-6 * size, what + ": radius")
                linetype = layer.dxf.linetype
                check(linetype == ("DOT" if tag == "g" else "CONTINUOUS"), "%s: %s in %s" % (what, name, linetype))
                if tag == "g":
                    dash = float(element[1].get("stroke-dasharray").split()[0])
                    pattern = document.linetypes.get("DOT").pattern_tags.tags
                    lengths = [t.value for t in pattern if t.code == 49]
                    check(len(lengths) == 2 and abs(lengths[0] - dash) < 1e-6 and abs(lengths[1] + dash) < 1e-6,
                          "%s: DOT pattern %s, dashes %g" % (what, lengths, dash))
            elif tag == "polygon":
                (outline,) = on_layer
                check(outline.dxftype() == "POLYLINE" and outline.is_closed, what + ": outline not one closed polyline")
                svg_points = [tuple(map(float, p.split(","))) for p in element.get("points").split()]
                dxf_points = [xy(v.dxf.location) for v in outline.vertices]
                check(len(dxf_points) == 10, what + ": outline of %d points" % len(dxf_points))
                for point, svg_point in zip(dxf_points, svg_points):
                    same(point, expected(*svg_point), "outline vertex")
            elif tag == "g":
                lines = element.findall(SVG + "line")
                check(len(on_layer) == len(lines) and all(e.dxftype() == "LINE" for e in on_layer),
                      "%s: %s has %d entities for %d lines" % (what, name, len(on_layer), len(lines)))
                for line, entity in zip(lines, on_layer):
                    same(xy(entity.dxf.start), expected(float(line.get("x1")), float(line.get("y1"))), name)
                    same(xy(entity.dxf.end), expected(float(line.get("x2")), float(line.get("y2"))), name)
        names = {element.get("id").upper() for element in svg if element.get("id")}
        check({n for n in layers if n.upper() not in ("0", "DEFPOINTS")} == names, "%s: layers %s for %s" % (what, sorted(layers), sorted(names)))
        check(sum(1 for e in entities if e.dxf.layer not in names) == 0, what + ": an entity outside the layers")
        for entity in entities:
            for attribute in ("start", "end", "center", "location"):
                if entity.dxf.hasattr(attribute):
                    check(min(xy(getattr(entity.dxf, attribute))) >= -1e-9, what + ": a negative coordinate")
            if entity.dxftype() == "POLYLINE":
                check(all(min(xy(v.dxf.location)) >= -1e-9 for v in entity.vertices), what + ": a negative vertex")


# --- paper ----------------------------------------------------------------


def test_paper():
    # The locale's paper, from a locale compiled here (LOCPATH), so that the
    # machine needs none installed; --paper overrides it.
    folder = os.path.join(WORK, "locales")
    os.mkdir(folder)
    made = subprocess.run(["localedef", "-i", "en_US", "-f", "UTF-8", os.path.join(folder, "en_US.UTF-8")],
                          capture_output=True, text=True)
    check(os.path.isdir(os.path.join(folder, "en_US.UTF-8")), "localedef: " + made.stderr)
    cases = [({"LC_PAPER": "en_US.UTF-8"}, (), "[0 0 612 792]"),
             ({"LC_ALL": "en_US.UTF-8"}, (), "[0 0 612 792]"),
             ({"LC_PAPER": "C"}, (), "[0 0 595.2756 841.8898]"),
             ({"LC_PAPER": "no_SUCH.UTF-8"}, (), "[0 0 595.2756 841.8898]"),
             ({"LC_PAPER": "en_US.UTF-8"}, ("--paper", "a3"), "[0 0 841.8898 1190.5512]")]
    for variables, arguments, media_box in cases:
        environment = {k: v for k, v in os.environ.items() if not k.startswith("LC_") and k != "LANG"}
        environment.update(variables, LOCPATH=folder)
        result = subprocess.run([CLI, "--pdf", "-", "--height", "100", *arguments], capture_output=True, env=environment)
        check(b"/MediaBox " + media_box.encode() in result.stdout, "paper for %s %s: not %s" % (variables, arguments, media_box))
        letter = media_box == "[0 0 612 792]"
        check((b"(2 in)" in result.stdout) == letter, "paper for %s: the 2 inch square" % variables)


# --- librecad -------------------------------------------------------------


def test_librecad():
    path = os.path.join(WORK, "lc.dxf")
    cli("--dxf", path, "--height", "150")
    folder = os.path.join(WORK, "librecad")
    os.mkdir(folder)
    environment = dict(os.environ, QT_QPA_PLATFORM="offscreen", HOME=WORK, XDG_RUNTIME_DIR=WORK)
    result = subprocess.run(["librecad", "dxf2pdf", "-c", "-s", "1", "-t", folder, path], capture_output=True,
                            text=True, env=environment, timeout=120)
    converted = os.path.join(folder, "lc.pdf")
    if not check(result.returncode == 0 and os.path.exists(converted), "librecad dxf2pdf: %s" % result.stderr):
        return
    (page,) = render(converted, 4, "poppler")
    # At scale 1, centred on its page: the background square's frame.
    box = bbox_of(page, (0, 0, 0), 199)
    if check(box is not None, "librecad: an empty page"):
        for length in ((box[2] - box[0]) / 4, (box[3] - box[1]) / 4):
            check(abs(length - 150) <= 1.0, "librecad: the figure measures %.2f mm, not 150" % length)


GROUPS = {"paper": test_paper, "scale": test_scale, "coordinates": test_coordinates, "tiles": test_tiles, "validity": test_validity, "dxf": test_dxf, "librecad": test_librecad}
for group in sys.argv[2:]:
    GROUPS[group]()
if failures:
    print("%d failures" % len(failures))
    sys.exit(1)
print("%d checks passed" % checks[0])
