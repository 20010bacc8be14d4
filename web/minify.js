// The page's script, the module's glue with the view after it, compressed
// and with its local names shortened, into SCRIPT.min (the build moves it
// over SCRIPT): a third less to load and parse before the page can start. Global names (DecagonModule, the view's
// window.decagonView) and property names stay as they are.
//
// usage: NODE_PATH=/usr/share/nodejs node minify.js SCRIPT
"use strict";

const fs = require("fs");
const { minify } = require("terser");

const path = process.argv[2];
minify(fs.readFileSync(path, "utf8"), { ecma: 2020, compress: true, mangle: true }).then(
  (result) => fs.writeFileSync(path + ".min", result.code),
  (error) => {
    console.error("minify.js: " + path + ": " + error.message);
    process.exit(1);
  },
);
