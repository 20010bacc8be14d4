#!/usr/bin/env python3
"""Applied by the link (--js-transform) to the module's glue before it is
minified: the file-system errors' prototype becomes a plain object that
inherits from Error instead of an Error made as the module starts. Making an
Error there records where it was made, and with the browser's developer
tools or a test driver attached that means working out the source positions
of the whole module factory: some 5 ms of the page's start, for a stack that
nothing reads. The errors stay instances of Error.

usage: startglue.py GLUE-JS   (rewritten in place)
"""

import sys

MADE = "FS.ErrnoError.prototype = new Error();"
INHERITED = "FS.ErrnoError.prototype = Object.create(Error.prototype);"

path = sys.argv[1]
with open(path, encoding="utf-8") as glue:
    text = glue.read()
if text.count(MADE) != 1:
    sys.exit("startglue.py: the glue no longer makes its error prototype as expected (%s)" % path)
with open(path, "w", encoding="utf-8") as glue:
    glue.write(text.replace(MADE, INHERITED))
