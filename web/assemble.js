// Puts the page together as one file: the style sheet and the script (the
// module's glue with the view after it) go into index.html itself, so that
// the browser has one request less for each before the page can start, and
// the script is compressed and its local names shortened (Debian's terser):
// a third less to parse. Global names (DecagonModule, the view's
// window.decagonView) and property names stay as they are. The page is
// written beside its place and moved there once complete.
//
// usage: NODE_PATH=/usr/share/nodejs node assemble.js SHELL-HTML CSS SCRIPT PAGE
"use strict";

const fs = require("fs");
const { minify } = require("terser");

const [shellPath, cssPath, scriptPath, pagePath] = process.argv.slice(2);

function fail(message) {
  console.error("assemble.js: " + message);
  process.exit(1);
}

// The one place in the shell that a text takes, which must be there once.
function put(page, tag, text) {
  if (page.split(tag).length !== 2) fail(shellPath + " does not hold " + tag + " once");
  return page.replace(tag, () => text);
}

minify(fs.readFileSync(scriptPath, "utf8"), { ecma: 2020, compress: true, mangle: true }).then((result) => {
  // Text that would end the element early, or change how its content is read.
  if (/<\/script|<!--/i.test(result.code)) fail(scriptPath + " holds </script or <!--");
  const css = fs.readFileSync(cssPath, "utf8");
  if (/<\/style/i.test(css)) fail(cssPath + " holds </style");
  let page = fs.readFileSync(shellPath, "utf8");
  page = put(page, '<link rel="stylesheet" href="decagon.css">', "<style>\n" + css + "</style>");
  page = put(page, '<script src="decagon.js"></script>', "<script>" + result.code + "</script>");
  fs.writeFileSync(pagePath + ".new", page);
  fs.renameSync(pagePath + ".new", pagePath);
}, (error) => fail(scriptPath + ": " + error.message));
