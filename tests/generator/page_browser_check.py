#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Opens generated pages in headless Chromium and reports, for each page, how many pictures it shows,
how many of them loaded (natural width above 0), how many links it has, and which ones lead nowhere.

usage: page_browser_check.py PAGE...
Prints one JSON object: {"pages": [{"page", "pictures", "loaded", "links", "reachable", "problems"}]}
and exits 0, or prints what went wrong and exits 1 when the browser gave no answer."""
import html
import json
import os
import shutil
import subprocess
import sys
import tempfile
import pathlib

WRAPPER = """<!DOCTYPE html><html><body><pre id="out">pending</pre><script>
const pages = %s;
function reachable(url) {
  try { const x = new XMLHttpRequest(); x.open('GET', url, false); x.send(); return true; }
  catch (e) { return false; }
}
function pictureWidth(url) {
  return new Promise(done => {
    const i = new Image();
    i.onload = () => done(i.naturalWidth);
    i.onerror = () => done(0);
    i.src = url;
  });
}
async function run() {
  const results = [];
  for (const page of pages) {
    const frame = document.createElement('iframe');
    document.body.appendChild(frame);
    await new Promise(done => { frame.onload = done; frame.src = page; });
    const doc = frame.contentDocument;
    const r = {page: page, pictures: 0, loaded: 0, links: 0, reachable: 0, problems: []};
    if (!doc || !doc.body) { r.problems.push('page not readable'); results.push(r); continue; }
    for (const img of doc.images) {
      r.pictures++;
      if (img.complete && img.naturalWidth > 0) r.loaded++;
      else r.problems.push('picture does not load: ' + img.getAttribute('src'));
    }
    for (const a of doc.links) {
      r.links++;
      if (reachable(a.href)) r.reachable++;
      else r.problems.push('link leads nowhere: ' + a.getAttribute('href'));
    }
    const background = doc.body.getAttribute('background');
    if (background !== null) {
      r.pictures++;
      if (await pictureWidth(new URL(background, doc.baseURI).href) > 0) r.loaded++;
      else r.problems.push('background does not load: ' + background);
    }
    results.push(r);
  }
  document.getElementById('out').textContent = JSON.stringify({pages: results});
}
run();
</script></body></html>
"""


def browser():
    for name in ("chromium", "chromium-browser", "google-chrome"):
        path = shutil.which(name)
        if path:
            return path
    return None


def main():
    pages = [pathlib.Path(p).resolve().as_uri() for p in sys.argv[1:]]
    program = browser()
    if not program:
        print("no Chromium found (Debian's package chromium)")
        return 1
    with tempfile.TemporaryDirectory() as work:
        wrapper = os.path.join(work, "check.htm")
        with open(wrapper, "w", encoding="utf-8") as f:
            f.write(WRAPPER % json.dumps(pages))
        command = [program, "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                   "--allow-file-access-from-files", "--user-data-dir=" + os.path.join(work, "profile"),
                   "--virtual-time-budget=30000", "--dump-dom", pathlib.Path(wrapper).as_uri()]
        try:
            done = subprocess.run(command, capture_output=True, timeout=240)
        except subprocess.TimeoutExpired:
            print("Chromium did not finish")
            return 1
    dom = done.stdout.decode("utf-8", errors="replace")
    opening = '<pre id="out">'
    start = dom.find(opening)
    end = dom.find("</pre>", start)
    answer = html.unescape(dom[start + len(opening):end]) if 0 <= start < end else ""
    if not answer.startswith("{"):
        print("Chromium gave no result (exit %d)\n%s\n%s" % (done.returncode, dom[-2000:],
                                                           done.stderr.decode(errors="replace")[-2000:]))
        return 1
    print(answer)
    return 0


sys.exit(main())
