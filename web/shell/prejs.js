// Text crosses between the page and the module as single bytes, one
// character a byte, as the dialog's code page has it.
Module.latin1 = function (pointer) {
  var end = HEAPU8.indexOf(0, pointer);
  var text = "";
  for (var at = pointer; at < end; at += 8192)
    text += String.fromCharCode.apply(null, HEAPU8.subarray(at, Math.min(at + 8192, end)));
  return text;
};
// A new zero-terminated copy in the module's memory, which the caller frees.
Module.bytes = function (text) {
  text = text == null ? "" : String(text);
  var pointer = _malloc(text.length + 1);
  for (var index = 0; index < text.length; ++index) HEAPU8[pointer + index] = text.charCodeAt(index) & 255;
  HEAPU8[pointer + text.length] = 0;
  return pointer;
};
