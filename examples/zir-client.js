// zir-client.js: reads an identity card through the local zir service, for any web page.
//
//   <script src="zir-client.js"></script>
//   const result = await ZirClient.readCard(8080);   // or ZirClient.readUid(8080)
//   if (result.ok) { result.fields, result.photo ... } else { result.message }
//   const watch = ZirClient.watchCard(8080, { card, document, removed }, { read: true });
//
// Plain GET requests without custom headers: the service answers them with
// Access-Control-Allow-Origin:*, but it never answers a browser's pre-flight (OPTIONS), so a
// request that needs one would never arrive.
(function (global) {
  'use strict';

  const DEFAULT_TIMEOUT_MS = 20000;

  // Chinese labels of every member the service sends, by layout; the order is the document's.
  const LABELS = {
    statusCode: '状态',
    cardType: '证件类型',
    name: '姓名',
    ename: '英文姓名',
    sexDesc: '性别',
    nationDesc: '民族',
    country: '国籍',
    countryCode: '国籍代码',
    birthday: '出生日期',
    address: '住址',
    IdNum: '证件号码',
    passNum: '通行证号码',
    company: '签发机关',
    beginDate: '有效期起始日期',
    endDate: '有效期截止日期',
    uid: '卡片UID',
    type: '卡片种类',
    // The result-content layout (WebType=1).
    chName: '姓名',
    gender: '性别',
    nation: '民族',
    birthDate: '出生日期',
    cardNo: '证件号码',
    issue: '签发机关',
    effDate: '有效期起始日期',
    expDate: '有效期截止日期',
  };

  // The number's name on each kind of card.
  const ID_NUMBER_LABELS = {
    身份证: '公民身份号码',
    港澳台居住证: '公民身份号码',
    外国人永居证17版: '永久居留证号码',
    外国人永居证23版: '永久居留证号码',
  };

  const PHOTO_KEYS = ['photoBase64', 'identityPic'];

  function failure(reason, message, extra) {
    return Object.assign({ ok: false, reason: reason, message: message }, extra || {});
  }

  function fieldsOf(members, cardType) {
    const fields = [];
    for (const key of Object.keys(members)) {
      if (key === 'statusCode' || PHOTO_KEYS.includes(key) || typeof members[key] !== 'string')
        continue;
      let label = LABELS[key] || key;
      if (key === 'IdNum' && ID_NUMBER_LABELS[cardType])
        label = ID_NUMBER_LABELS[cardType];
      fields.push({ key: key, label: label, value: members[key] });
    }
    return fields;
  }

  // What one answer means to a page.
  function interpret(doc, url) {
    if (doc === null || typeof doc !== 'object')
      return failure('invalid', '读卡服务的应答无法识别。', { url: url, document: doc });
    if (doc.statusCode === '500')
      return failure('failed', '读卡失败：没有读到证件。请把证件平放在读卡器上再试一次（具体原因见 zir 的服务日志）。',
                     { url: url, document: doc });
    if (doc.resultFlag === '0' && doc.resultContent && typeof doc.resultContent === 'object') {
      const content = doc.resultContent;
      return {
        ok: true, kind: 'card', layout: 'result-content', cardType: '', url: url, document: doc,
        fields: fieldsOf(content, ''), photo: content.identityPic || '',
      };
    }
    if (doc.statusCode === '200' && 'type' in doc && !('cardType' in doc)) {
      return {
        ok: true, kind: 'uid', layout: 'uid', cardType: doc.type, url: url, document: doc,
        fields: fieldsOf(doc, ''), photo: '',
      };
    }
    if (doc.statusCode === '200') {
      const layout = 'passNum' in doc ? 'residence-permit'
                     : 'ename' in doc ? 'permanent-residence' : 'identity-card';
      return {
        ok: true, kind: 'card', layout: layout, cardType: doc.cardType || '', url: url,
        document: doc, fields: fieldsOf(doc, doc.cardType), photo: doc.photoBase64 || '',
      };
    }
    return failure('invalid', '读卡服务的应答无法识别。', { url: url, document: doc });
  }

  async function ask(port, query, options) {
    const timeoutMs = (options && options.timeoutMs) || DEFAULT_TIMEOUT_MS;
    const url = 'http://127.0.0.1:' + port + '/' + query;
    const controller = new AbortController();
    const timer = setTimeout(function () { controller.abort(); }, timeoutMs);
    let text;
    try {
      const response = await fetch(url, { signal: controller.signal, cache: 'no-store' });
      text = await response.text();
    } catch (e) {
      if (controller.signal.aborted)
        return failure('timeout', '读卡服务在 ' + Math.round(timeoutMs / 1000) + ' 秒内没有应答：读卡器可能忙或已断开。', { url: url });
      return failure('unreachable', '无法连接读卡服务 ' + url.replace(/\?.*$/, '') +
                     '：请确认 zir 已启动，并且端口设置正确。', { url: url });
    } finally {
      clearTimeout(timer);
    }
    let doc;
    try {
      doc = JSON.parse(text);
    } catch (e) {
      return failure('invalid', '读卡服务的应答无法识别。', { url: url, text: text });
    }
    return interpret(doc, url);
  }

  // The photo as an image address, or '' when the service decoded none ("ERROR").
  function photoUrl(photo) {
    return photo && photo !== 'ERROR' ? 'data:image/bmp;base64,' + photo : '';
  }

  // Follows the card on the reader through GET /events (Server-Sent Events): handlers.card(uid
  // result) when a card is placed or swapped, handlers.removed() when it goes, and with
  // options.read handlers.document(full-read result) after each card. handlers.state(open) tells
  // whether the stream is up; the browser reconnects by itself after a lost connection, but not
  // after a refusal (more than 32 streams), which ends in state(false) for good. close() stops.
  function watchCard(port, handlers, options) {
    const url = 'http://127.0.0.1:' + port + '/events' + (options && options.read ? '?read=1' : '');
    const source = new EventSource(url);
    const call = (name, value) => { if (handlers[name]) handlers[name](value); };
    const parse = (text) => { try { return JSON.parse(text); } catch (e) { return null; } };
    source.onopen = () => call('state', true);
    source.onerror = () => call('state', source.readyState !== EventSource.CLOSED ? null : false);
    source.addEventListener('card', (e) => call('card', interpret(parse(e.data), url)));
    source.addEventListener('document', (e) => call('document', interpret(parse(e.data), url)));
    source.addEventListener('removed', () => call('removed'));
    return { url: url, close: () => source.close() };
  }

  global.ZirClient = {
    readCard: function (port, options) { return ask(port, '', options); },
    readUid: function (port, options) { return ask(port, '?type=UID', options); },
    watchCard: watchCard,
    interpret: interpret,
    photoUrl: photoUrl,
    LABELS: LABELS,
  };
})(typeof window !== 'undefined' ? window : globalThis);
