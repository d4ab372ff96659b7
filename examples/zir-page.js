// zir-page.js: what the two example pages share on the page itself (the port field, the status
// line, the fields and the photo). Another page needs only zir-client.js.
(function (global) {
  'use strict';
  const $ = (id) => document.getElementById(id);

  // ?port= of the address, else the port used here last, else 80.
  function initialPort(params) {
    let stored = null;
    try { stored = localStorage.getItem('zir.port'); } catch (e) { /* private mode */ }
    return params.get('port') || stored || '80';
  }

  function say(kind, text) {
    $('status').className = kind;
    $('status').textContent = text;
  }

  // The port field's value, remembered for the next visit; null (and said) when it is no port.
  function port() {
    const value = Number($('port').value);
    if (!Number.isInteger(value) || value < 1 || value > 65535) {
      say('error', '端口无效：请填写 1 到 65535 之间的数字。');
      return null;
    }
    try { localStorage.setItem('zir.port', String(value)); } catch (e) { /* private mode */ }
    return value;
  }

  // Label and value of each field, in the document's order; keys in `skip` are left out.
  function showFields(fields, skip) {
    const list = $('fields');
    list.replaceChildren();
    for (const field of fields) {
      if (skip && skip.includes(field.key))
        continue;
      const dt = document.createElement('dt');
      const dd = document.createElement('dd');
      dt.textContent = field.label;
      dd.textContent = field.value;
      dd.dataset.key = field.key;
      list.append(dt, dd);
    }
  }

  function clearPhoto() {
    const img = $('photo');
    img.hidden = true;
    img.onload = img.onerror = null;
    img.removeAttribute('src');
    $('photoNote').textContent = '';
  }

  // The photo text of a full read ("ERROR" or empty: none was decoded).
  function showPhoto(photo) {
    clearPhoto();
    const url = ZirClient.photoUrl(photo);
    if (!url) {
      $('photoNote').textContent = '照片未能解码';
      return;
    }
    const img = $('photo');
    $('photoNote').textContent = '照片读取中…';
    img.onload = () => { img.hidden = false; $('photoNote').textContent = '证件照片'; };
    img.onerror = () => { $('photoNote').textContent = '照片无法显示'; };
    img.src = url;
  }

  global.ZirPage = { $, initialPort, say, port, showFields, clearPhoto, showPhoto };
})(window);
