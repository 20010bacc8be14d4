// The dialog's view in the page: builds the window from the template that
// the module holds, answers the controller's window operations (webapp.cpp
// calls them as Module.view.*) and hands every click, key and link to the
// controller. The decisions are the module's.
"use strict";

(function () {
  const Kind = { Label: 0, Line: 1, Picture: 2, Icon: 3, Edit: 4, PushButton: 5, Radio: 6, DropList: 7, Link: 8 };
  const Style = { Visible: 1, TabStop: 2, Group: 4, Center: 8, Right: 16, ReadOnly: 32, Default: 64, OwnerDraw: 128 };
  const ControlEvent = { Other: 0, ButtonClicked: 1, SelectionChanged: 2, LinkClicked: 3, LinkReturn: 4 };
  const DialogKey = { Enter: 0, Escape: 1 };
  const kStorageKey = "decagon/Vanteo.ini";
  const kProgramFolder = "/decagon";
  const kExportFolder = "/exports";
  const kResources = { 1000: "construction.bmp", 1071: "decagon.png" };

  let module = null;
  let running = 0; // controller calls in progress (a prompt may suspend one)
  let units = { charWidth: 6, charHeight: 13 };
  let client = { width: 0, height: 0 };
  const items = new Map(); // control id -> its element
  const lists = new Map(); // control id -> drop list state
  const limits = new Map(); // edit id -> typed-text limit
  let dialog = null;
  let preview = null;
  let replacingSettings = false;
  let lastStored = null; // the settings text last put into storage

  const view = {
    beeps: 0,
    opened: [],
    clipboardWrites: 0,
    downloads: [],
  };
  window.decagonView = view;

  // ---- Dialog units ----

  function mulDivRound(a, b, c) {
    const product = a * b;
    const magnitude = Math.floor((Math.abs(product) + Math.floor(Math.abs(c) / 2)) / Math.abs(c));
    return product < 0 !== c < 0 ? -magnitude : magnitude;
  }

  // The font's base units as the dialog manager measures them: the width of
  // the 52 Latin letters halved and rounded from twenty-sixths, and the
  // line height.
  let measuring = null; // a canvas's context in the dialog's font
  function measureUnits(font) {
    measuring = document.createElement("canvas").getContext("2d");
    measuring.font = font;
    const metrics = measuring.measureText("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const height = Math.round((metrics.fontBoundingBoxAscent || 0) + (metrics.fontBoundingBoxDescent || 0));
    const width = (Math.floor(Math.round(metrics.width) / 26) + 1) >> 1;
    return width > 0 && height > 0 ? { charWidth: width, charHeight: height } : units;
  }

  function toPixels(rect) {
    return {
      x: mulDivRound(rect[0], units.charWidth, 4),
      y: mulDivRound(rect[1], units.charHeight, 8),
      width: mulDivRound(rect[2], units.charWidth, 4),
      height: mulDivRound(rect[3], units.charHeight, 8),
    };
  }

  // A control's place, in one write: its only inline style (alignment and
  // wrapping are classes).
  function place(element, area) {
    element.style.cssText =
      "left:" + area.x + "px;top:" + area.y + "px;width:" + area.width + "px;height:" + area.height + "px";
  }

  // ---- Talking to the module ----

  function call(name, ...args) {
    return module["_" + name](...args);
  }

  // A controller entry that may wait on a prompt: nothing else reaches the
  // controller until it has returned; then the settings and any saved file
  // leave the module's memory.
  async function dispatch(name, types, args) {
    if (running > 0 || module === null) return;
    running++;
    try {
      await module.ccall(name, null, types, args, { async: true });
    } finally {
      running--;
      afterCommand();
    }
  }

  function command(id, event) {
    currentCommand = id;
    view.lastCommand = dispatch("WebCommand", ["number", "number"], [id, event]);
    return view.lastCommand;
  }

  function afterCommand() {
    storeSettings();
    deliverExports().then((failed) => {
      failed.forEach((name) => view.showError(kWriteFailures[1004](name)));
      pickedFiles.clear(); // chosen for a file that the command did not write
    });
  }

  // ---- The module's files, kept in its memory ----

  function withBytes(text, use) {
    const pointer = module.bytes(text);
    try {
      return use(pointer);
    } finally {
      module._free(pointer);
    }
  }

  // A copy of the file's bytes; null when there is none.
  function readFile(path) {
    return withBytes(path, (name) => {
      const size = call("WebFileSize", name);
      if (size < 0) return null;
      const data = call("WebFileData", name);
      return module.HEAPU8.slice(data, data + size);
    });
  }

  // Text as the file's bytes, one a character.
  function writeText(path, text) {
    withBytes(path, (name) => withBytes(text, (data) => call("WebPutFile", name, data, text.length)));
  }

  function removeFile(path) {
    withBytes(path, (name) => call("WebRemoveFile", name));
  }

  function filesIn(folder) {
    return withBytes(folder, (name) => module.latin1(call("WebFilesIn", name)))
      .split("/")
      .filter((file) => file !== "");
  }

  // ---- Settings in the browser's storage ----

  function settingsPath() {
    return module.UTF8ToString(call("WebSettingsPath"));
  }

  function bytesToText(bytes) {
    let text = "";
    for (let index = 0; index < bytes.length; index += 8192)
      text += String.fromCharCode.apply(null, bytes.subarray(index, index + 8192));
    return text;
  }

  function textToBytes(text) {
    const bytes = new Uint8Array(text.length);
    for (let index = 0; index < text.length; ++index) bytes[index] = text.charCodeAt(index) & 255;
    return bytes;
  }

  function storedSettings() {
    try {
      return localStorage.getItem(kStorageKey);
    } catch (error) {
      return null;
    }
  }

  function storeSettings() {
    if (module === null) return;
    const bytes = readFile(settingsPath());
    if (bytes === null) return; // not written yet
    const text = bytesToText(bytes);
    if (text === lastStored) return;
    try {
      localStorage.setItem(kStorageKey, text);
      lastStored = text;
    } catch (error) {
      // Storage refused (full, or private browsing): the colours last as long as the page.
    }
  }

  view.downloadSettings = function () {
    const text = storedSettings();
    offerDownload("Vanteo.ini", textToBytes(text === null ? "" : text));
  };

  view.loadSettings = async function (file) {
    const bytes = new Uint8Array(await file.arrayBuffer());
    // The loaded file replaces the colours in use: the window is not saved
    // over it as the page goes.
    replacingSettings = true;
    localStorage.setItem(kStorageKey, bytesToText(bytes));
    location.reload();
  };

  // ---- Files the exports wrote ----

  const kMimeTypes = { csv: "text/csv", svg: "image/svg+xml", jpg: "image/jpeg", jpeg: "image/jpeg", bmp: "image/bmp" };

  function offerDownload(name, bytes) {
    const extension = name.slice(name.lastIndexOf(".") + 1).toLowerCase();
    const blob = new Blob([bytes], { type: kMimeTypes[extension] || "application/octet-stream" });
    const link = document.createElement("a");
    link.href = URL.createObjectURL(blob);
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
    view.downloads.push(name);
  }

  // The files the browser's save picker chose, by their name in the export folder.
  const pickedFiles = new Map();

  // Hands every file that an export wrote over to the person: into the file
  // that the save picker chose, else as a download under its name. Resolves
  // with the names of the files that could not be written.
  async function deliverExports() {
    const failed = [];
    if (module === null) return failed;
    for (const name of filesIn(kExportFolder)) {
      const path = kExportFolder + "/" + name;
      const bytes = readFile(path);
      removeFile(path);
      const picked = pickedFiles.get(name);
      pickedFiles.delete(name);
      if (!picked) {
        offerDownload(name, bytes);
        continue;
      }
      try {
        const writable = await picked.createWritable();
        await writable.write(bytes);
        await writable.close();
      } catch (error) {
        failed.push(name);
      }
    }
    return failed;
  }

  // What the export commands say when the file cannot be written, by the
  // command that was writing it.
  const kWriteFailures = {
    1004: (name) => "Cannot save the file " + name,
    1005: () => "Cannot write into this file",
  };
  let currentCommand = -1;

  // ---- Boxes ----

  function box(caption, text, modal) {
    const frame = document.createElement("div");
    frame.className = "box";
    frame.setAttribute("role", modal ? "dialog" : "alertdialog");
    frame.setAttribute("aria-modal", modal ? "true" : "false");
    const title = document.createElement("div");
    title.className = "caption";
    title.textContent = caption;
    title.id = "box-caption-" + Math.random().toString(36).slice(2);
    frame.setAttribute("aria-labelledby", title.id);
    const body = document.createElement("p");
    body.textContent = text;
    const ok = document.createElement("button");
    ok.type = "button";
    ok.textContent = "OK";
    frame.append(title, body, ok);
    return { frame, ok };
  }

  // The error box floats above the page and blocks nothing.
  view.showError = function (text) {
    const { frame, ok } = box("Error", text, false);
    frame.classList.add("error");
    const previous = document.activeElement;
    ok.addEventListener("click", () => {
      frame.remove();
      if (previous && previous.isConnected) previous.focus();
    });
    document.body.appendChild(frame);
    ok.focus();
  };

  // A modal box over the whole page, until it answers.
  function modal(frame, first) {
    const backdrop = document.createElement("div");
    backdrop.className = "backdrop";
    backdrop.appendChild(frame);
    const previous = document.activeElement;
    dialog.setAttribute("inert", "");
    document.body.appendChild(backdrop);
    first.focus();
    return () => {
      backdrop.remove();
      dialog.removeAttribute("inert");
      if (previous && previous.isConnected) previous.focus();
    };
  }

  view.showInformation = async function (text) {
    // A saved file is confirmed once it has reached the person's file.
    const failed = await deliverExports();
    if (failed.length > 0) {
      view.showError((kWriteFailures[currentCommand] || kWriteFailures[1004])(failed[0]));
      return;
    }
    await new Promise((resolve) => {
      const { frame, ok } = box("Information", text, true);
      const close = modal(frame, ok);
      const done = () => {
        close();
        resolve();
      };
      ok.addEventListener("click", done);
      frame.addEventListener("keydown", (event) => {
        event.stopPropagation();
        if (event.key === "Escape" || event.key === "Enter") {
          event.preventDefault();
          done();
        }
      });
    });
  };

  // The browser's save picker with the command's types: the path of the
  // chosen name in the export folder, "" when cancelled, null when the
  // browser cannot show it (the page's own dialog then asks).
  async function pickFile(request) {
    const types = request.filters
      .filter(([, pattern]) => pattern !== "*.*")
      .map(([description, pattern]) => ({
        description,
        accept: { "application/octet-stream": pattern.split(";").map((part) => part.slice(1)) },
      }));
    let handle;
    try {
      handle = await window.showSaveFilePicker({ types, excludeAcceptAllOption: false });
    } catch (error) {
      return error && error.name === "AbortError" ? "" : null;
    }
    let name = handle.name;
    if (name.indexOf(".") < 0 && request.defaultExtension) name += "." + request.defaultExtension;
    pickedFiles.set(name, handle);
    return kExportFolder + "/" + name;
  }

  // The page's own save dialog where the browser has no picker: a name and
  // the command's type list. A name typed without an extension takes the
  // command's default one; the file then goes to the browser's downloads
  // under that name. Resolves with the path in the module's export folder, or ""
  // when cancelled.
  view.promptSave = async function (request) {
    if (typeof window.showSaveFilePicker === "function") {
      const picked = await pickFile(request);
      if (picked !== null) return picked;
    }
    return await new Promise((resolve) => {
      const frame = document.createElement("form");
      frame.className = "box save";
      frame.setAttribute("role", "dialog");
      frame.setAttribute("aria-modal", "true");
      frame.setAttribute("aria-labelledby", "save-caption");
      frame.innerHTML =
        '<div class="caption" id="save-caption">Save As</div>' +
        '<label>File name: <input id="save-name" autocomplete="off" spellcheck="false"></label>' +
        '<label>Save as type: <select id="save-type"></select></label>' +
        '<p id="save-problem" role="alert"></p>' +
        '<div class="buttons"><button type="submit">Save</button><button type="button" id="save-cancel">Cancel</button></div>';
      const name = frame.querySelector("#save-name");
      const type = frame.querySelector("#save-type");
      request.filters.forEach(([description, pattern], index) => type.add(new Option(description, pattern)));
      type.selectedIndex = Math.max(0, request.filterIndex - 1);
      const close = modal(frame, name);
      const finish = (path) => {
        close();
        resolve(path);
      };
      frame.addEventListener("submit", (event) => {
        event.preventDefault();
        let chosen = name.value.trim();
        if (chosen === "") return;
        if (/[\\/:*?"<>|\x00-\x1f]/.test(chosen)) {
          frame.querySelector("#save-problem").textContent = "The file name is not valid.";
          return;
        }
        if (chosen.indexOf(".") < 0 && request.defaultExtension) chosen += "." + request.defaultExtension;
        finish(kExportFolder + "/" + chosen);
      });
      frame.querySelector("#save-cancel").addEventListener("click", () => finish(""));
      frame.addEventListener("keydown", (event) => {
        event.stopPropagation();
        if (event.key === "Escape") {
          event.preventDefault();
          finish("");
        }
      });
    });
  };

  // ---- Pixels ----

  function imageDataOf(pointer, width, height, stride) {
    const image = new ImageData(width, height);
    const target = image.data;
    const source = module.HEAPU8;
    for (let y = 0; y < height; ++y) {
      let from = pointer + y * stride;
      let to = y * width * 4;
      for (let x = 0; x < width; ++x, from += 4, to += 4) {
        // 0xFFRRGGBB words, little-endian: blue, green, red, alpha.
        target[to] = source[from + 2];
        target[to + 1] = source[from + 1];
        target[to + 2] = source[from];
        target[to + 3] = 255;
      }
    }
    return image;
  }

  view.presentPreview = function (pointer, width, height, stride, x, y) {
    preview.width = width;
    preview.height = height;
    preview.style.left = x + "px";
    preview.style.top = y + "px";
    preview.hidden = false;
    preview.getContext("2d").putImageData(imageDataOf(pointer, width, height, stride), 0, 0);
  };

  // The figure as PNG (the browser's encoder is lossless) on the clipboard.
  view.putOnClipboard = async function (pointer, width, height, stride) {
    try {
      const canvas = new OffscreenCanvas(width, height);
      canvas.getContext("2d").putImageData(imageDataOf(pointer, width, height, stride), 0, 0);
      const blob = await canvas.convertToBlob({ type: "image/png" });
      await navigator.clipboard.write([new ClipboardItem({ "image/png": blob })]);
      view.clipboardWrites++;
      return 1;
    } catch (error) {
      return 0;
    }
  };

  // ---- The window operations ----

  view.itemText = function (id) {
    const item = items.get(id);
    if (!item) return "";
    if (item.tagName === "INPUT") return item.value;
    if (item.tagName === "BUTTON") return item.textContent;
    return "";
  };

  view.setItemText = function (id, text) {
    const item = items.get(id);
    if (!item) return;
    if (item.tagName === "INPUT") {
      // A text longer than the box shows its beginning: where the caret
      // goes, in the field that has the focus (the others show it anyway).
      item.value = text;
      if (item === document.activeElement) item.setSelectionRange(0, 0);
    } else if (item.tagName === "BUTTON") {
      item.textContent = text;
    }
  };

  function radio(id) {
    const item = items.get(id);
    return item && item.type === "radio" ? item : null;
  }

  view.isChecked = (id) => (radio(id) ? radio(id).checked : false);
  view.setChecked = function (id, checked) {
    if (radio(id)) radio(id).checked = checked;
  };

  view.addListItem = (id, text, data) => (lists.has(id) ? lists.get(id).add(text, data) : -1);
  view.listCount = (id) => (lists.has(id) ? lists.get(id).entries.length : 0);
  view.listSelection = (id) => (lists.has(id) ? lists.get(id).selected : -1);
  view.setListSelection = function (id, index) {
    if (lists.has(id)) lists.get(id).select(index, false);
  };
  view.listItemData = function (id, index) {
    const list = lists.get(id);
    return list && index >= 0 && index < list.entries.length ? list.entries[index].data : -1;
  };

  // Until the page is shown (see show()) the focus is only noted: a hidden
  // control cannot take it.
  let startFocus = -1;
  view.focusItem = function (id) {
    const item = items.get(id);
    if (!item) return;
    if (!view.ready) startFocus = id;
    else (item.querySelector("a") || item).focus();
  };

  view.selectText = function (id, first, last) {
    const item = items.get(id);
    if (!item || item.tagName !== "INPUT") return;
    const length = item.value.length;
    const from = Math.min(Math.max(first, 0), length);
    const to = last < 0 ? length : Math.min(Math.max(last, from), length);
    item.setSelectionRange(from, to);
  };

  view.limitText = function (id, limit) {
    if (items.get(id) && items.get(id).tagName === "INPUT") limits.set(id, limit);
  };

  view.clientWidth = () => client.width;
  view.clientHeight = () => client.height;

  // The settings are stored after the command that ends the dialog (and on
  // pagehide, after its WebClose).
  view.endDialog = function () {
    dialog.hidden = true;
    document.getElementById("ended").hidden = false;
    document.getElementById("restart").focus();
  };

  view.openUrl = function (url) {
    view.opened.push(url);
    window.open(url, "_blank", "noopener");
  };

  // ---- The controls ----

  // A label's text on one line where its box is one line high: the box grows
  // away from its aligned edge rather than losing words.
  function fitOneLine(element, area, style) {
    if (area.height >= 2 * units.charHeight) return area;
    element.classList.add("nowrap");
    const extra = Math.ceil(measuring.measureText(element.textContent).width) - area.width;
    if (extra <= 0) return area;
    if (style & Style.Right) return { ...area, x: area.x - extra, width: area.width + extra };
    if (style & Style.Center) return { ...area, x: area.x - (extra >> 1), width: area.width + extra };
    return { ...area, width: area.width + extra };
  }

  // The template's link text: plain text and <a href="...">...</a> parts.
  function fillLink(element, id, text) {
    const pattern = /<a href="([^"]*)">([^<]*)<\/a>/g;
    let at = 0;
    let index = 0;
    for (let match; (match = pattern.exec(text)) !== null; ) {
      element.append(text.slice(at, match.index));
      const anchor = document.createElement("a");
      anchor.href = match[1];
      anchor.textContent = match[2];
      anchor.target = "_blank";
      anchor.rel = "noopener";
      const linkIndex = index++;
      anchor.addEventListener("click", (event) => {
        event.preventDefault();
        dispatch("WebLink", ["number", "number", "string", "number"], [id, linkIndex, match[1], ControlEvent.LinkClicked]);
      });
      anchor.addEventListener("keydown", (event) => {
        if (event.key !== "Enter") return;
        event.preventDefault();
        event.stopPropagation();
        dispatch("WebLink", ["number", "number", "string", "number"], [id, linkIndex, match[1], ControlEvent.LinkReturn]);
      });
      element.append(anchor);
      at = match.index + match[0].length;
    }
    element.append(text.slice(at));
  }

  // A drop-down list to pick from, drawn by the page so that colour items
  // show their swatch: closed, the arrows, Home, End and the page keys change
  // the selection; Alt+Down or F4 drop it down, where the arrows move, Enter
  // takes the item and Escape leaves it as it was.
  function makeDropList(item, area, palette) {
    const colors = (item.style & Style.OwnerDraw) !== 0;
    const root = document.createElement("div");
    root.className = "droplist" + (colors ? " colors" : "");
    const field = document.createElement("div");
    field.className = "field";
    field.setAttribute("role", "combobox");
    field.setAttribute("aria-haspopup", "listbox");
    field.setAttribute("aria-expanded", "false");
    const popup = document.createElement("ul");
    popup.className = "popup";
    popup.id = "list-" + item.id;
    popup.setAttribute("role", "listbox");
    popup.hidden = true;
    field.setAttribute("aria-controls", popup.id);
    const shown = document.createElement("span");
    shown.className = "shown";
    field.appendChild(shown);
    root.append(field, popup);

    const list = { entries: [], selected: -1, highlighted: -1, root, field };
    const droppedHeight = area.height;

    function describe(entry) {
      if (!colors) return entry.text;
      const color = palette[entry.data] || palette[0];
      return color[0] + " (" + color[1] + ", " + color[2] + ", " + color[3] + ")";
    }
    function paint(element, entry) {
      if (colors) {
        const color = palette[entry.data] || palette[0];
        element.style.setProperty("--swatch", "rgb(" + color[1] + "," + color[2] + "," + color[3] + ")");
      } else {
        element.textContent = entry.text;
      }
    }

    list.add = function (text, data) {
      list.entries.push({ text, data, option: null });
      return list.entries.length - 1;
    };

    // The dropped-down list's items are made the first time it drops down.
    function optionOf(index) {
      const entry = list.entries[index];
      if (entry.option) return entry.option;
      for (let at = popup.childElementCount; at < list.entries.length; ++at) {
        const option = document.createElement("li");
        option.setAttribute("role", "option");
        option.id = popup.id + "-" + at;
        option.setAttribute("aria-selected", String(at === list.selected));
        if (colors) option.setAttribute("aria-label", describe(list.entries[at]));
        paint(option, list.entries[at]);
        option.addEventListener("mousedown", (event) => event.preventDefault());
        option.addEventListener("click", () => {
          close();
          choose(at);
        });
        list.entries[at].option = option;
        popup.appendChild(option);
      }
      return entry.option;
    }

    list.select = function (index, byUser) {
      if (index < -1 || index >= list.entries.length) return;
      const changed = index !== list.selected;
      const was = list.selected >= 0 ? list.entries[list.selected].option : null;
      if (was) was.setAttribute("aria-selected", "false");
      list.selected = index;
      if (index >= 0) {
        const entry = list.entries[index];
        if (entry.option) entry.option.setAttribute("aria-selected", "true");
        // A colour list's value is said as the colour's name; the swatch shows it.
        if (colors) {
          if (!shown.firstChild) shown.appendChild(document.createElement("span")).className = "sr-only";
          shown.firstChild.textContent = describe(entry);
          paint(shown, entry);
        } else {
          shown.textContent = describe(entry);
        }
      }
      if (changed && byUser) command(item.id, ControlEvent.SelectionChanged);
    };

    function choose(index) {
      list.select(Math.min(Math.max(index, 0), list.entries.length - 1), true);
    }

    function highlight(index) {
      if (list.highlighted >= 0) optionOf(list.highlighted).classList.remove("highlighted");
      list.highlighted = Math.min(Math.max(index, 0), list.entries.length - 1);
      const option = optionOf(list.highlighted);
      option.classList.add("highlighted");
      field.setAttribute("aria-activedescendant", option.id);
      option.scrollIntoView({ block: "nearest" });
    }

    function open() {
      if (!popup.hidden || list.entries.length === 0) return;
      // Down from the box, at most the template's height; up where the
      // window has more room above, as a drop-down list does at a screen edge.
      const box = field.getBoundingClientRect();
      const below = window.innerHeight - box.bottom;
      const up = below < Math.min(droppedHeight, list.entries.length * 20) && box.top > below;
      popup.classList.toggle("up", up);
      popup.style.maxHeight = Math.max(Math.min(droppedHeight - box.height, (up ? box.top : below) - 4), 40) + "px";
      popup.hidden = false;
      field.setAttribute("aria-expanded", "true");
      highlight(Math.max(list.selected, 0));
    }

    function close() {
      popup.hidden = true;
      field.setAttribute("aria-expanded", "false");
      field.removeAttribute("aria-activedescendant");
    }

    const page = () => Math.max(1, Math.floor(popup.clientHeight / 20) || 10);
    field.addEventListener("keydown", (event) => {
      const dropped = !popup.hidden;
      const at = dropped ? list.highlighted : list.selected;
      const move = { ArrowDown: 1, ArrowRight: 1, ArrowUp: -1, ArrowLeft: -1, PageDown: page(), PageUp: -page() };
      let target = null;
      if ((event.altKey && (event.key === "ArrowDown" || event.key === "ArrowUp")) || event.key === "F4") {
        if (dropped) {
          close();
          choose(list.highlighted);
        } else {
          open();
        }
      } else if (event.key in move && !event.altKey) {
        target = at + move[event.key];
      } else if (event.key === "Home") {
        target = 0;
      } else if (event.key === "End") {
        target = list.entries.length - 1;
      } else if (dropped && (event.key === "Enter" || event.key === "Tab")) {
        close();
        choose(list.highlighted);
        if (event.key === "Tab") return;
      } else if (dropped && event.key === "Escape") {
        close();
      } else if (event.key.length === 1 && !event.ctrlKey && !event.metaKey) {
        // Typed characters go to the list's own search, as in a drop-down list.
        event.preventDefault();
        event.stopPropagation();
        return;
      } else {
        return;
      }
      event.preventDefault();
      event.stopPropagation();
      if (target !== null) {
        if (dropped) highlight(target);
        else choose(target);
      }
    });
    field.addEventListener("mousedown", (event) => {
      event.preventDefault();
      field.focus();
      if (popup.hidden) open();
      else close();
    });
    field.addEventListener("blur", close);
    list.element = root;
    return list;
  }

  // The visible static texts, which name the fields at their right or below them.
  function namingLabels(template) {
    return template.items.filter((other) => other.kind === Kind.Label && other.id === -1 && other.style & Style.Visible);
  }

  function labelFor(item, labels) {
    // The static text at the item's left on its line, else just above it.
    let best = null;
    let bestScore = Infinity;
    const ix = item.rect[0];
    const iy = item.rect[1];
    const iwidth = item.rect[2];
    for (let index = 0; index < labels.length; ++index) {
      const other = labels[index];
      const x = other.rect[0];
      const y = other.rect[1];
      const width = other.rect[2];
      const height = other.rect[3];
      let score = Infinity;
      if (y + height > iy && y < iy + 12 && x + width <= ix + 4) score = ix - (x + width);
      else if (y + height <= iy + 2 && x < ix + iwidth && x + width > ix) score = 1000 + (iy - y);
      if (score < bestScore) {
        bestScore = score;
        best = other;
      }
    }
    return best ? best.text.replace(/\s*:\s*$/, "") : "";
  }

  // The pictures in the dialog, fetched as the page is shown: the values do
  // not wait on them.
  const pictures = new Map(); // image -> its file

  function build(template, palette) {
    const whole = toPixels([0, 0, template.width, template.height]);
    client = { width: whole.width, height: whole.height };
    const area = document.getElementById("client");
    area.style.width = client.width + "px";
    area.style.height = client.height + "px";
    document.getElementById("caption").textContent = template.caption;
    document.title = template.caption;

    // The controls are put together apart and join the page at once.
    const parts = document.createDocumentFragment();
    const labels = namingLabels(template);
    let radioGroup = "";
    template.items.forEach((item, index) => {
      let element;
      switch (item.kind) {
        case Kind.Label:
          element = document.createElement("div");
          element.className = item.style & Style.Center ? "label center" : item.style & Style.Right ? "label right" : "label";
          element.textContent = item.text;
          break;
        case Kind.Line:
          element = document.createElement("div");
          element.className = "line";
          element.setAttribute("role", "separator");
          break;
        case Kind.Picture:
        case Kind.Icon:
          element = document.createElement("div");
          element.className = "image";
          element.appendChild(new Image());
          pictures.set(element.firstChild, kResources[item.resource]);
          element.firstChild.alt = item.kind === Kind.Icon ? "" : "How the values lie on the decagon";
          break;
        case Kind.Edit:
          element = document.createElement("input");
          element.type = "text";
          element.value = item.text;
          element.readOnly = (item.style & Style.ReadOnly) !== 0;
          element.autocomplete = "off";
          element.spellcheck = false;
          element.setAttribute("aria-label", item.name || labelFor(item, labels));
          break;
        case Kind.PushButton:
          element = document.createElement("button");
          element.type = "button";
          element.textContent = item.text;
          element.addEventListener("click", () => command(item.id, ControlEvent.ButtonClicked));
          break;
        case Kind.Radio: {
          if (radioGroup === "" || item.style & Style.Group) radioGroup = "group-" + item.id;
          const input = document.createElement("input");
          input.type = "radio";
          input.name = radioGroup;
          input.id = "radio-" + item.id;
          input.addEventListener("click", () => command(item.id, ControlEvent.ButtonClicked));
          element = document.createElement("label");
          element.className = "radio";
          element.append(input, item.text);
          items.set(item.id, input);
          break;
        }
        case Kind.DropList: {
          const list = makeDropList(item, toPixels(item.rect), palette);
          list.field.setAttribute("aria-label", labelFor(item, labels));
          lists.set(item.id, list);
          element = list.element;
          break;
        }
        case Kind.Link:
          element = document.createElement("div");
          element.className = "link";
          fillLink(element, item.id, item.text);
          break;
      }
      if (item.kind !== Kind.Radio) radioGroup = "";
      element.dataset.controlId = item.id;
      element.id = item.id === -1 ? "static" + index : "control-" + item.id;
      if (item.id !== -1 && !items.has(item.id)) items.set(item.id, element);
      let box = toPixels(item.rect);
      if (item.kind === Kind.DropList) box.height = Math.round(units.charHeight * 1.6);
      parts.appendChild(element);
      if (item.kind === Kind.Label) box = fitOneLine(element, box, item.style);
      place(element, box);
      if (!(item.style & Style.Visible)) element.hidden = true;
      // Only the template's tab stops take the Tab key, in template order.
      const focusable = item.kind === Kind.DropList ? lists.get(item.id).field : element.querySelector("a, input") || element;
      if (item.kind >= Kind.Edit) focusable.tabIndex = item.style & Style.TabStop ? 0 : -1;
    });
    preview = document.createElement("canvas");
    preview.id = "preview";
    preview.width = 250;
    preview.height = 250;
    preview.hidden = true;
    preview.setAttribute("role", "img");
    preview.setAttribute("aria-label", "Preview of the decagon");
    parts.appendChild(preview);
    area.appendChild(parts);
    wireKeys(area);
  }

  // ---- Keys that reach the dialog ----

  let audio = null;
  function beep() {
    view.beeps++;
    try {
      audio = audio || new AudioContext();
      const tone = audio.createOscillator();
      const gain = audio.createGain();
      gain.gain.value = 0.1;
      tone.frequency.value = 880;
      tone.connect(gain).connect(audio.destination);
      tone.start();
      tone.stop(audio.currentTime + 0.08);
    } catch (error) {
      // No sound here; the character is dropped all the same.
    }
  }

  function controlIdOf(element) {
    const holder = element && element.closest ? element.closest("[data-control-id]") : null;
    return holder ? Number(holder.dataset.controlId) : -1;
  }

  function wireKeys(area) {
    // The typed-text limit of the number fields, for typing and pasting alike;
    // text the program sets is shown whole.
    area.addEventListener("beforeinput", (event) => {
      const field = event.target;
      const limit = limits.get(controlIdOf(field));
      if (limit === undefined || !event.data || !event.inputType.startsWith("insert")) return;
      const room = limit - (field.value.length - (field.selectionEnd - field.selectionStart));
      if (event.data.length <= room) return;
      event.preventDefault();
      if (room > 0) field.setRangeText(event.data.slice(0, room), field.selectionStart, field.selectionEnd, "end");
    });
    area.addEventListener("keydown", (event) => {
      if (event.defaultPrevented || event.ctrlKey || event.metaKey || event.altKey) return;
      const focused = controlIdOf(document.activeElement);
      if (event.key === "Enter") {
        event.preventDefault();
        currentCommand = focused;
        dispatch("WebKey", ["number", "number"], [DialogKey.Enter, focused]);
        return;
      }
      if (event.key === "Escape") {
        event.preventDefault();
        dispatch("WebKey", ["number", "number"], [DialogKey.Escape, focused]);
        return;
      }
      // The keystroke filter sits on the dialog itself: it sees what the
      // focused control does not take (edit fields take every character,
      // buttons and radio buttons the space bar).
      if (event.key.length !== 1) return;
      const target = event.target;
      if (target.tagName === "INPUT" && target.type === "text") return;
      if (event.key === " " && (target.tagName === "BUTTON" || target.type === "radio")) return;
      const code = event.key.charCodeAt(0);
      if (!call("WebNumericPasses", code < 128 ? code : -1, 1)) {
        event.preventDefault();
        beep();
      }
    });
  }

  // ---- Start ----

  // The module's code as the page's head began compiling it while this
  // script loaded, else as fetched now; the module's own loader is not used.
  let failedStart = () => {};
  function instantiateWasm(imports, receive) {
    const compiled = (window.decagonWasm || Promise.reject()).catch(() =>
      fetch("decagon.wasm", { credentials: "same-origin" })
        .then((response) => response.arrayBuffer())
        .then((bytes) => WebAssembly.compile(bytes)));
    compiled
      .then((code) => WebAssembly.instantiate(code, imports))
      .then((instance) => receive(instance), (error) => failedStart(error));
    return {};
  }

  async function start() {
    const failed = new Promise((resolve, reject) => (failedStart = reject));
    const starting = DecagonModule({ locateFile: (name) => name, view, instantiateWasm });
    // While the module's code is instantiated: the font's units, and the
    // settings from the browser's storage.
    dialog = document.getElementById("dialog");
    units = measureUnits(getComputedStyle(dialog).font);
    const saved = storedSettings();
    lastStored = saved; // what storage holds: the same text is not written again
    module = await Promise.race([starting, failed]);
    if (saved !== null) writeText(kProgramFolder + "/Vanteo.ini", saved);
    const template = JSON.parse(module.latin1(call("WebTemplate")));
    const palette = JSON.parse(module.latin1(call("WebPalette")));
    view.template = template;
    build(template, palette);
    document.getElementById("close").addEventListener("click", () => dispatch("WebClose", [], []));
    await dispatch("WebStart", [], []);
    show();
    document.body.dataset.ready = "true";
  }

  // The page appears whole, with the dialog's first values, and the
  // control that the start chose takes the focus (its selection kept).
  function show() {
    document.querySelector("main").hidden = false;
    document.body.dataset.readyAt = performance.now();
    pictures.forEach((file, image) => (image.src = file));
    view.ready = true;
    if (startFocus >= 0) view.focusItem(startFocus);
  }

  window.addEventListener("pagehide", () => {
    if (running === 0 && module !== null && !dialog.hidden && !replacingSettings) {
      call("WebClose");
      storeSettings();
    }
  });

  // The script ends the page (index.html holds it), after every element
  // that it needs: it starts at once, without waiting for the rest.
  function begin() {
    document.getElementById("restart").addEventListener("click", () => location.reload());
    document.getElementById("settings-download").addEventListener("click", () => view.downloadSettings());
    const upload = document.getElementById("settings-upload");
    upload.addEventListener("change", () => {
      if (upload.files.length > 0) view.loadSettings(upload.files[0]);
    });
    start().then(() => {
      // Kept for offline use once the tool runs, so as not to slow its start.
      if ("serviceWorker" in navigator && location.protocol !== "file:")
        navigator.serviceWorker.register("sw.js").catch(() => {});
    }, (error) => {
      document.querySelector("main").hidden = false;
      throw error;
    });
  }
  if (document.getElementById("settings-upload")) begin();
  else document.addEventListener("DOMContentLoaded", begin);
})();
