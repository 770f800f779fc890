#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""Checks a generated page over hostile file names: plain ASCII, only the expected elements and
attributes, every link and picture resolving back to its file, every shown name round-tripping.

usage: page_links_check.py PAGE NAMES.json picture|text
Prints what is wrong and exits 1, or exits 0."""
import html.parser
import json
import sys
import urllib.parse

ALLOWED = {
    "html": set(), "head": set(), "title": set(), "meta": {"name", "content"}, "style": set(),
    "body": {"text", "bgcolor", "link", "vlink", "alink", "background"}, "center": set(),
    "table": {"border", "width"}, "tr": {"align", "valign"}, "td": set(), "a": {"href"},
    "img": {"src", "alt", "border", "height", "width"}, "br": set(), "b": set(), "font": {"color"},
}
BASE = "file:///base/dir/"


class Page(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.problems = []
        self.hrefs, self.srcs, self.alts, self.link_texts, self.font_texts = [], [], [], [], []
        self.open = []

    def handle_starttag(self, tag, attrs):
        if tag not in ALLOWED:
            self.problems.append("unexpected element <%s>" % tag)
            return
        for key, value in attrs:
            if key not in ALLOWED[tag]:
                self.problems.append("unexpected attribute %s on <%s>" % (key, tag))
        values = dict(attrs)
        if tag == "a":
            self.hrefs.append(values.get("href"))
            self.link_texts.append("")
        if tag == "img":
            self.srcs.append(values.get("src"))
            self.alts.append(values.get("alt"))
        if tag == "font":
            self.font_texts.append("")
        self.open.append(tag)

    def handle_endtag(self, tag):
        while self.open and self.open.pop() != tag:
            pass

    def handle_data(self, data):
        if self.open and self.open[-1] == "a":
            self.link_texts[-1] += data
        if self.open and self.open[-1] == "font":
            self.font_texts[-1] += data


def resolves_to(url, name):
    joined = urllib.parse.urljoin(BASE, url)
    parts = urllib.parse.urlsplit(joined)
    if parts.scheme != "file" or parts.query or parts.fragment or "?" in joined or "#" in joined:
        return False
    return urllib.parse.unquote(parts.path, errors="strict") == urllib.parse.urlsplit(BASE).path + name


def shown(name):
    # html.unescape drops references to C1 controls and DEL, as browsers show nothing for them
    return "".join(c for c in name if not 0x7F <= ord(c) <= 0x9F)


def main():
    page_path, names_path, mode = sys.argv[1:4]
    raw = open(page_path, "rb").read()
    names = json.load(open(names_path, encoding="utf-8"))
    problems = []
    if any(b >= 0x80 for b in raw):
        problems.append("page is not plain ASCII")
    page = Page()
    page.feed(raw.decode("ascii", errors="replace"))
    page.close()
    problems += page.problems
    if len(page.hrefs) != len(names):
        problems.append("%d links for %d names" % (len(page.hrefs), len(names)))
    for href, name in zip(page.hrefs, names):
        if not resolves_to(href, name):
            problems.append("link %r does not resolve to %r" % (href, name))
    if mode == "picture":
        if len(page.srcs) != len(names):
            problems.append("%d pictures for %d names" % (len(page.srcs), len(names)))
        for src, alt, name in zip(page.srcs, page.alts, names):
            if not resolves_to(src, "sm_" + name):
                problems.append("picture %r does not resolve to %r" % (src, "sm_" + name))
            if alt != shown(name):
                problems.append("ALT %r is not %r" % (alt, name))
        labels = [t for t in page.font_texts if not t.startswith("Size: ")]
        if labels != [shown(n) for n in names]:
            problems.append("shown names %r differ from %r" % (labels, names))
    else:
        if page.srcs:
            problems.append("pictures in a text page")
        if page.link_texts != [" " + shown(n) for n in names]:
            problems.append("link texts %r differ from %r" % (page.link_texts, names))
    for p in problems:
        print(p)
    sys.exit(1 if problems else 0)


main()
