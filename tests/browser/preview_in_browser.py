#!/usr/bin/env python3
"""Renders a script's dialog preview in headless Chromium and checks the page's text widths.

Makes the preview with tamrel-rc, then a test copy of it with a small script that measures every
text element carrying a data-width (the width the layout measured) with the browser's own
getComputedTextLength() and writes the results into the page, which Chromium's --dump-dom
prints. Every width must agree within the tolerance. Then a screenshot of the page as shipped
(no script) is saved. Standard library only.

Exit status: 0 all widths agree, 1 some do not or a step failed.
"""

import argparse
import html
import json
import os
import pathlib
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

MEASURE_SCRIPT = """
<script>
(function () {
  var rows = [];
  document.querySelectorAll('text[data-width]').forEach(function (t) {
    rows.push([t.id, parseFloat(t.getAttribute('data-width')), t.getComputedTextLength(), t.textContent]);
  });
  var result = {
    texts: rows,
    width: Math.ceil(document.documentElement.scrollWidth),
    height: Math.ceil(document.documentElement.scrollHeight)
  };
  var out = document.createElement('pre');
  out.id = 'measurements';
  out.textContent = JSON.stringify(result);
  document.body.appendChild(out);
})();
</script>
"""


def run(command, timeout, environment=None):
    return subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=timeout, check=False,
                          env=environment)


def chromium_command(chromium, profile, *arguments):
    # No sandbox and no /dev/shm: CI runs as root in a container with a small shared-memory mount.
    return [chromium, "--headless", "--disable-gpu", "--no-sandbox", "--disable-dev-shm-usage", "--hide-scrollbars",
            "--user-data-dir=" + profile, "--no-first-run", "--disable-extensions", *arguments]


def font_config(table, folder):
    """A fontconfig file for the browser: the system's configuration and the font table's own
    folders, as tamrel-rc sees them. Of those folders only TrueType files count (the browser
    draws no Windows bitmap files; Wine's TrueType copies hold the same strikes). Returns the
    environment to run the browser in."""
    with open(table, encoding="utf-8") as source:
        dirs = [d for d in json.load(source).get("font_dirs", []) if os.path.isdir(d)]
    environment = dict(os.environ)
    if not dirs:
        return environment
    root = ElementTree.Element("fontconfig")
    ElementTree.SubElement(root, "include", {"ignore_missing": "yes"}).text = "/etc/fonts/fonts.conf"
    # TrueType files are kept even when they hold only bitmap strikes (a system rule may reject
    # every font that is not scalable); Windows bitmap files are dropped.
    select = ElementTree.Element("selectfont")
    accept = ElementTree.SubElement(ElementTree.SubElement(select, "acceptfont"), "pattern")
    ElementTree.SubElement(ElementTree.SubElement(accept, "patelt", {"name": "fontformat"}), "string").text = "TrueType"
    reject = ElementTree.SubElement(select, "rejectfont")
    for d in dirs:
        ElementTree.SubElement(root, "dir").text = d
        ElementTree.SubElement(reject, "glob").text = os.path.join(d, "*.fon")
    root.append(select)
    path = os.path.join(folder, "fonts.conf")
    ElementTree.ElementTree(root).write(path, encoding="utf-8", xml_declaration=True)
    environment["FONTCONFIG_FILE"] = path
    return environment


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tool", required=True, help="the tamrel-rc program")
    parser.add_argument("--chromium", default="chromium")
    parser.add_argument("--script", required=True, help="the resource script to preview")
    parser.add_argument("--out-dir", required=True, help="where the page, its test copy and the screenshot go")
    parser.add_argument("--before", default=None, help="a script drawn beside it (preview --before), say its original")
    parser.add_argument("--name", default=None, help="file name stem (default: the script's)")
    parser.add_argument("--tolerance", type=float, default=0.03, help="largest relative difference (default 0.03)")
    parser.add_argument("--timeout", type=float, default=120.0, help="seconds for each browser run")
    parser.add_argument("--font-table", default=str(pathlib.Path(__file__).resolve().parents[2] / "layout" / "fonts.json"),
                        help="the font table whose font_dirs the browser is given (default: the source tree's)")
    options = parser.parse_args()

    os.makedirs(options.out_dir, exist_ok=True)
    name = options.name or os.path.splitext(os.path.basename(options.script))[0]
    page_path = os.path.abspath(os.path.join(options.out_dir, name + ".html"))
    test_path = os.path.abspath(os.path.join(options.out_dir, name + ".measure.html"))
    png_path = os.path.abspath(os.path.join(options.out_dir, name + ".png"))

    before = ["--before", options.before] if options.before else []
    made = run([options.tool, "preview", "-q", options.script, "-o", page_path, *before], options.timeout)
    if made.returncode != 0:
        sys.stderr.write(made.stderr.decode(errors="replace"))
        print("FAIL: tamrel-rc preview exited with %d" % made.returncode)
        return 1
    with open(page_path, encoding="utf-8") as page:
        text = page.read()
    if "</body>" not in text:
        print("FAIL: the page has no </body>")
        return 1
    with open(test_path, "w", encoding="utf-8") as copy:
        copy.write(text.replace("</body>", MEASURE_SCRIPT + "</body>", 1))

    with tempfile.TemporaryDirectory(prefix="tamrel-chromium-") as profile:
        environment = font_config(options.font_table, profile)
        dumped = run(chromium_command(options.chromium, profile, "--dump-dom", pathlib.Path(test_path).as_uri()),
                     options.timeout, environment)
        match = re.search(r'<pre id="measurements">(.*?)</pre>', dumped.stdout.decode("utf-8", errors="replace"),
                          re.S)
        if dumped.returncode != 0 or match is None:
            sys.stderr.write(dumped.stderr.decode(errors="replace")[-2000:])
            print("FAIL: Chromium printed no measurements (exit status %d)" % dumped.returncode)
            return 1
        result = json.loads(html.unescape(match.group(1)))

        width = max(800, min(int(result["width"]) + 20, 4000))
        height = max(600, min(int(result["height"]) + 20, 16000))
        shot = run(chromium_command(options.chromium, profile, "--screenshot=" + png_path,
                                    "--window-size=%d,%d" % (width, height), pathlib.Path(page_path).as_uri()),
                   options.timeout, environment)
        if shot.returncode != 0 or not os.path.exists(png_path):
            sys.stderr.write(shot.stderr.decode(errors="replace")[-2000:])
            print("FAIL: no screenshot (exit status %d)" % shot.returncode)
            return 1

    texts = result["texts"]
    if not texts:
        print("FAIL: the page has no measured text")
        return 1
    failures = 0
    worst = None
    for ident, measured, browser, content in texts:
        if measured <= 0.0:
            ratio = 1.0 if browser <= 0.0 else float("inf")
        else:
            ratio = browser / measured
        if worst is None or abs(ratio - 1.0) > abs(worst[0] - 1.0):
            worst = (ratio, ident, content, measured, browser)
        if abs(ratio - 1.0) > options.tolerance:
            failures += 1
            print("MISMATCH %s %r: layout %.2f px, browser %.2f px (ratio %.4f)" % (ident, content, measured,
                                                                                 browser, ratio))
    print("%d texts measured; worst ratio %.4f (%s %r: layout %.2f px, browser %.2f px); screenshot %s" %
          (len(texts), worst[0], worst[1], worst[2], worst[3], worst[4], png_path))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
