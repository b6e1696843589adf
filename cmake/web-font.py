#!/usr/bin/python3
"""Cuts a font down to the characters the game can show, printable ASCII, for
the web, where every player downloads it. A font whose licence reserves its
name for the original gets another one (a cut-down font is a modified
version): the game's fonts ask for the original's name, which the page maps
to the new one.
Usage: web-font.py <font> <output> [<new family name>]"""

import logging
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

FAMILY_NAME_IDS = (1, 16, 21)  # family, typographic family, WWS family
FULL_NAME_IDS = (3, 4, 6)  # unique id, full name, PostScript name


def rename(font, family):
    names = font["name"]
    old = names.getDebugName(16) or names.getDebugName(1)
    for record in names.names:
        if record.nameID in FAMILY_NAME_IDS:
            record.string = family
        elif record.nameID in FULL_NAME_IDS:
            text = record.toUnicode().replace(old, family)
            record.string = text.replace(old.replace(" ", ""), family.replace(" ", ""))


def main(source, output, family=None):
    logging.getLogger("fontTools").setLevel(logging.ERROR)  # tables it drops, such as FFTM
    options = subset.Options()
    options.layout_features = ["*"]  # kerning and all, as the full font has
    options.name_IDs = ["*"]
    options.notdef_outline = True
    font = TTFont(source, recalcTimestamp=False)
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=range(0x20, 0x7F))
    subsetter.subset(font)
    if family:
        rename(font, family)
    font.save(output)


if __name__ == "__main__":
    main(*sys.argv[1:])
