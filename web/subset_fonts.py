#!/usr/bin/python3
"""Subsets the lesson's Japanese faces to the characters the program can show, under
names of their own, for the browser build (which has no system fonts).

    subset_fonts.py <source folder> <output folder>

The characters are printable ASCII plus every other character in the program's source
texts (captions, labels, number texts). The faces are Monapo (the layout's widths) and
IPA P Gothic (the fallback), both under the IPA Font License v1.0, which lets a derived
font be distributed under that licence, with a name of its own, together with the means
to rebuild it and to put the original back: the output folder gets the subsets, the
character list, this script and the licence.
"""
import pathlib
import re
import shutil
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

FACES = [
    # (original, family of the subset, file of the subset)
    ("/usr/share/fonts/truetype/monapo/monapo.ttf", "Lesson Gothic", "lesson-gothic.ttf"),
    ("/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf", "Lesson Gothic Fallback", "lesson-gothic-fallback.ttf"),
]
LICENCE = "/usr/share/doc/fonts-monapo/copyright"


def program_characters(sources):
    chars = {chr(c) for c in range(0x20, 0x7F)}
    for path in sorted(sources.rglob("*")):
        if path.suffix in (".cpp", ".h") and path.is_file():
            chars.update(c for c in path.read_text(encoding="utf-8") if ord(c) > 0x7F)
    # Line ends and other controls are never drawn.
    return "".join(sorted(c for c in chars if c.isprintable() or c == "\u3000"))


# A comment, or a string or character literal, in C++ source.
COMMENT_OR_LITERAL = re.compile(r'//[^\n]*|/\*.*?\*/|"(?:[^"\\\n]|\\.)*"|\'(?:[^\'\\\n]|\\.)+\'', re.S)


def unheld_characters(sources, originals):
    """The characters of the program's texts (its string and character literals, not its
    comments) that none of the faces holds, each with the files it is written in: the page
    has no other font, and would show a blank box for them."""
    held = set()
    for original in originals:
        held.update(chr(c) for c in TTFont(original).getBestCmap())
    unheld = {}
    for path in sorted(sources.rglob("*")):
        if path.suffix in (".cpp", ".h") and path.is_file():
            for match in COMMENT_OR_LITERAL.finditer(path.read_text(encoding="utf-8")):
                if match.group(0)[0] in "\"'":
                    for c in match.group(0):
                        if c not in held and c.isprintable():
                            unheld.setdefault(c, set()).add(str(path.relative_to(sources)))
    return unheld


def rename(font, family):
    postscript = family.replace(" ", "")
    for record in font["name"].names:
        if record.nameID in (1, 16):
            record.string = family
        elif record.nameID == 4:
            record.string = family
        elif record.nameID == 6:
            record.string = postscript
        elif record.nameID == 3:
            record.string = postscript + "-subset"
        elif record.nameID in (17, 2):
            record.string = "Regular"


def main():
    sources, out = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    out.mkdir(parents=True, exist_ok=True)
    unheld = unheld_characters(sources, [original for original, _, _ in FACES])
    if unheld:
        sys.exit("subset_fonts.py: no face of the page holds %s; draw it, or write another character" % "; ".join(
            "%s (U+%04X, in %s)" % (c, ord(c), ", ".join(sorted(files))) for c, files in sorted(unheld.items())))
    text = program_characters(sources)
    (out / "characters.txt").write_text(text + "\n", encoding="utf-8")
    for original, family, file_name in FACES:
        options = subset.Options()
        options.name_IDs = ["*"]
        options.name_languages = ["*"]
        options.notdef_outline = True
        options.layout_features = ["*"]
        font = TTFont(original)
        subsetter = subset.Subsetter(options)
        subsetter.populate(text=text)
        subsetter.subset(font)
        rename(font, family)
        font.save(out / file_name)
    shutil.copyfile(LICENCE, out / "LICENSE.txt")
    shutil.copyfile(__file__, out / "subset_fonts.py")


if __name__ == "__main__":
    main()
