// zir.js: the browser client of the local zir identity-card service. An ES module without
// dependencies.
//
//   import { ZirClient, ZirError } from './zir.js';
//   const zir = new ZirClient({ port: 8080 });
//   const card = await zir.readCard();        // the full-read document as an object
//   const watch = zir.watch((event) => { ... }, { read: true });
//   watch.stop();
//
// Every failure is a ZirError whose `code` tells what happened and whose `message` can be shown
// to a receptionist as it stands.

const DEFAULT_TIMEOUTS = { card: 15000, uid: 5000, status: 5000 };
// A stream holder that wants to know which tabs ask for documents waits this long for answers.
const WANTS_WAIT_MS = 150;

// What each code means to the person at the desk.
const MESSAGES = {
  'read-failed': '读卡失败：没有读到证件。请把证件平放在读卡器上再试一次（具体原因见 zir 的服务日志）。',
  forbidden: '读卡服务拒绝了此网页：它不在 zir 允许的网站列表（WebOrigins）中，请联系管理员。',
  busy: '读卡服务正忙，请稍后再试。',
  timeout: '读卡服务在 {s} 秒内没有应答：读卡器可能忙或已断开。',
  'invalid-answer': '读卡服务的应答无法识别。',
  'permission-denied': '浏览器不允许此网页访问本机的读卡服务。请在地址栏左侧的网站设置中允许“本地网络访问”，或请管理员为此网站设置策略。',
  'permission-needed': '浏览器需要您允许此网页访问本机的读卡服务：请点击读卡按钮，并在浏览器的提示中选择“允许”。',
  'insecure-page': '浏览器阻止通过 http 打开的网页访问本机的读卡服务，请改用 https 地址打开此网页。如果此网页来自内网地址，也可能是 zir 没有启动。',
  'not-running': '无法连接读卡服务 {url}：请确认 zir 已启动，并且端口设置正确。',
  unreachable: '无法连接读卡服务 {url}：zir 可能没有启动，也可能是浏览器阻止了此网页访问本机（此浏览器不告诉网页是哪一种）。请确认 zir 已启动、端口正确，并使用 https 地址打开此网页。',
};

export class ZirError extends Error {
  constructor(code, message, details = {}) {
    super(message);
    this.name = 'ZirError';
    this.code = code;
    Object.assign(this, details);
  }
}

function makeError(code, details = {}) {
  const text = MESSAGES[code]
    .replace('{s}', String(Math.round((details.timeoutMs || 0) / 1000)))
    .replace('{url}', details.url || '');
  return new ZirError(code, text, details);
}

const hasWindow = typeof window !== 'undefined' && typeof location !== 'undefined';

// Hosts whose pages reach this machine's loopback service without Local Network Access rules.
function isLoopbackHost(host) {
  return host === 'localhost' || host.endsWith('.localhost') || /^127\./.test(host) ||
         host === '[::1]' || host === '::1';
}

// Private IPv4 addresses: their http pages may call the loopback service for now.
function isPrivateAddress(host) {
  return /^10\./.test(host) || /^192\.168\./.test(host) ||
         /^172\.(1[6-9]|2\d|3[01])\./.test(host) || /^169\.254\./.test(host);
}

// The page's Local Network Access permission: 'granted', 'denied', 'prompt', or undefined where
// the browser knows neither name (it has no such permission, or tells pages nothing of it).
async function loopbackPermission() {
  if (typeof navigator === 'undefined' || !navigator.permissions)
    return undefined;
  for (const name of ['loopback-network', 'local-network-access']) {
    try {
      return (await navigator.permissions.query({ name })).state;
    } catch (e) {
      // A name this browser does not know: try the next one.
    }
  }
  return undefined;
}

// A no-cors request reaches a running zir even where its answer may not be read (a WebOrigins
// refusal carries no cross-origin lines); it fails where nothing answered or the browser blocked
// it.
async function answersAtAll(url, timeoutMs) {
  const controller = new AbortController();
  const timer = setTimeout(() => controller.abort(), timeoutMs);
  try {
    await fetch(url, { mode: 'no-cors', cache: 'no-store', signal: controller.signal,
                       targetAddressSpace: 'loopback' });
    return true;
  } catch (e) {
    return false;
  } finally {
    clearTimeout(timer);
  }
}

// Why a fetch of the service failed with a network error, as far as the browser lets a page
// know. The permission is asked first: a probe while a prompt is due would prompt again.
async function explainNetworkFailure(base) {
  const url = base + '/';
  const probe = () => answersAtAll(base + '/status', 3000);
  if (!hasWindow || location.protocol === 'file:' || isLoopbackHost(location.hostname))
    return makeError((await probe()) ? 'forbidden' : 'not-running', { url });
  const permission = await loopbackPermission();
  // A public http page: browsers with Local Network Access block it without a prompt.
  const blockedPage = !isSecureContext && !isPrivateAddress(location.hostname);
  if (blockedPage && (permission !== undefined || knowsAddressSpaces()))
    return makeError('insecure-page', { url });
  if (!isSecureContext && !blockedPage) {
    // A private address's http page is let through for now.
  } else if (permission === 'denied') {
    return makeError('permission-denied', { url });
  } else if (permission === 'prompt') {
    return makeError('permission-needed', { url });
  }
  if (await probe())
    return makeError('forbidden', { url });
  if (!isSecureContext && !blockedPage)
    return makeError('not-running', { url });
  return makeError(permission === 'granted' ? 'not-running' : 'unreachable', { url });
}

// Whether this browser knows the target address spaces of Local Network Access.
function knowsAddressSpaces() {
  try {
    return typeof Request !== 'undefined' &&
           'targetAddressSpace' in new Request('http://127.0.0.1/', { targetAddressSpace: 'loopback' });
  } catch (e) {
    return false;
  }
}

// One GET of a document: the parsed object, or a ZirError.
async function fetchDocument(base, path, timeoutMs) {
  const url = base + path;
  const controller = new AbortController();
  const timer = setTimeout(() => controller.abort(), timeoutMs);
  let response;
  let text;
  try {
    // targetAddressSpace: the browser asks for the user's permission instead of failing; a
    // browser without Local Network Access ignores the option.
    response = await fetch(url, { cache: 'no-store', signal: controller.signal,
                                  targetAddressSpace: 'loopback' });
    text = await response.text();
  } catch (e) {
    if (controller.signal.aborted)
      throw makeError('timeout', { url, timeoutMs });
    throw await explainNetworkFailure(base);
  } finally {
    clearTimeout(timer);
  }
  if (response.status === 403)
    throw makeError('forbidden', { url, status: 403 });
  if (response.status === 503)
    throw makeError('busy', { url, status: 503 });
  let document;
  try {
    document = JSON.parse(text);
  } catch (e) {
    throw makeError('invalid-answer', { url, status: response.status, text });
  }
  if (document === null || typeof document !== 'object' || response.status !== 200)
    throw makeError('invalid-answer', { url, status: response.status, document });
  if (document.statusCode === '500')
    throw makeError('read-failed', { url, document });
  return document;
}

// The tabs of one page origin share one /events stream per service: one tab holds it (Web
// Locks) and relays its events to the others (BroadcastChannel), since each open stream holds
// one of the six connections a browser keeps to the service. One hub per service in each tab.
const hubs = new Map();

class StreamHub {
  constructor(base) {
    this.base = base;
    this.name = 'zir-events ' + base;
    this.tabId = Math.random().toString(36).slice(2) + Date.now().toString(36);
    this.watchers = new Set();
    this.card = null;     // the last 'card' or 'removed' event: the present state
    this.document = null; // the last 'document' event, for the present card
    this.shared = typeof navigator !== 'undefined' && !!navigator.locks &&
                  typeof BroadcastChannel !== 'undefined';
    this.holding = false;
    this.source = null;
    this.sourceReads = false;
    this.wants = new Map(); // holder: tab -> whether it asks for documents
    this.state = undefined;
  }

  wantsRead() {
    for (const watcher of this.watchers) {
      if (watcher.read)
        return true;
    }
    return false;
  }

  add(watcher) {
    this.watchers.add(watcher);
    if (this.watchers.size === 1)
      this.start();
    else
      this.announce();
    // The present state first, where this tab knows it already.
    if (this.card)
      this.deliverTo(watcher, this.card);
    if (this.card && this.card.type === 'card' && this.document)
      this.deliverTo(watcher, this.document);
    if (this.state !== undefined && watcher.onState)
      watcher.onState(this.state);
  }

  remove(watcher) {
    if (!this.watchers.delete(watcher))
      return;
    if (this.watchers.size === 0)
      this.finish();
    else
      this.announce();
  }

  start() {
    if (!this.shared) {
      this.becomeHolder();
      return;
    }
    this.channel = new BroadcastChannel(this.name);
    this.channel.onmessage = (e) => this.onMessage(e.data);
    this.abort = new AbortController();
    this.announce();
    navigator.locks.request(this.name, { signal: this.abort.signal }, () => {
      if (this.finished)
        return undefined; // granted just as this tab stopped watching
      this.becomeHolder();
      return new Promise((resolve) => { this.release = resolve; });
    }).catch(() => { /* the request was given up: this tab stopped watching */ });
    this.onPageHide = () => this.post({ kind: 'bye', tab: this.tabId });
    addEventListener('pagehide', this.onPageHide);
  }

  finish() {
    this.finished = true;
    if (this.channel) {
      this.post({ kind: 'bye', tab: this.tabId });
      this.channel.close();
      this.channel = null;
      removeEventListener('pagehide', this.onPageHide);
    }
    if (this.abort)
      this.abort.abort();
    this.closeSource();
    this.holding = false;
    if (this.release)
      this.release();
    this.release = null;
    this.card = this.document = null;
    this.state = undefined;
    hubs.delete(this.base);
  }

  post(message) {
    if (this.channel)
      this.channel.postMessage(message);
  }

  // Tells the holder whether this tab asks for documents.
  announce() {
    if (!this.holding)
      this.post({ kind: 'wants', tab: this.tabId, read: this.wantsRead() });
    else if (!this.collecting)
      this.updateStream();
  }

  onMessage(message) {
    if (!message || typeof message !== 'object')
      return;
    if (message.kind === 'event') {
      this.receive(message.event);
    } else if (message.kind === 'state') {
      this.setState(message.state);
    } else if (message.kind === 'who' && !this.holding) {
      this.announce();
    } else if (this.holding && (message.kind === 'wants' || message.kind === 'bye')) {
      if (message.kind === 'wants') {
        this.wants.set(message.tab, !!message.read);
        // A new tab learns the present state from the holder.
        if (this.card)
          this.post({ kind: 'event', event: this.card });
        if (this.card && this.card.type === 'card' && this.document)
          this.post({ kind: 'event', event: this.document });
        if (this.state !== undefined)
          this.post({ kind: 'state', state: this.state });
      } else {
        this.wants.delete(message.tab);
      }
      if (!this.collecting)
        this.updateStream();
    }
  }

  // This tab now holds the stream: it asks the others what they want, then opens it.
  becomeHolder() {
    this.holding = true;
    this.collecting = true;
    this.wants.clear();
    this.post({ kind: 'who' });
    setTimeout(() => {
      this.collecting = false;
      if (this.holding)
        this.updateStream();
    }, this.shared ? WANTS_WAIT_MS : 0);
  }

  anyoneReads() {
    if (this.wantsRead())
      return true;
    for (const read of this.wants.values()) {
      if (read)
        return true;
    }
    return false;
  }

  // Opens the stream, or opens it again when documents are wanted now and were not (or the
  // other way round).
  updateStream() {
    const read = this.anyoneReads();
    if (this.source && this.sourceReads === read)
      return;
    this.closeSource();
    this.sourceReads = read;
    this.fresh = true;
    const source = new EventSource(this.base + '/events' + (read ? '?read=1' : ''));
    this.source = source;
    source.onopen = () => this.publishState('open');
    source.onerror = () =>
      this.publishState(source.readyState === EventSource.CLOSED ? 'closed' : 'reconnecting');
    for (const type of ['card', 'removed', 'document']) {
      source.addEventListener(type, (e) => {
        let data = null;
        try {
          data = JSON.parse(e.data);
        } catch (error) {
          return;
        }
        this.publish({ type, data });
      });
    }
  }

  closeSource() {
    if (this.source)
      this.source.close();
    this.source = null;
  }

  publish(event) {
    // A stream opened again begins with the present state, which the watchers have seen.
    const repeat = this.fresh && event.type !== 'document' && this.card &&
                   JSON.stringify(this.card) === JSON.stringify(event);
    this.fresh = false;
    if (repeat)
      return;
    this.post({ kind: 'event', event });
    this.receive(event);
  }

  publishState(state) {
    this.post({ kind: 'state', state });
    this.setState(state);
  }

  setState(state) {
    if (state === this.state)
      return; // told again for a tab that joined
    this.state = state;
    for (const watcher of this.watchers) {
      if (watcher.onState)
        watcher.onState(state);
    }
  }

  receive(event) {
    if (!event || typeof event !== 'object')
      return;
    if (event.type === 'card' || event.type === 'removed') {
      if (this.card && JSON.stringify(this.card) === JSON.stringify(event))
        return; // the present state sent once more to a tab that joined
      this.card = event;
      this.document = null;
    } else if (event.type === 'document') {
      if (this.document && JSON.stringify(this.document) === JSON.stringify(event))
        return;
      this.document = event;
    } else {
      return;
    }
    for (const watcher of [...this.watchers])
      this.deliverTo(watcher, event);
  }

  deliverTo(watcher, event) {
    if (event.type === 'document' && !watcher.read)
      return;
    try {
      watcher.onEvent({ type: event.type, data: event.data });
    } catch (e) {
      // One page handler's mistake must not keep the events from the others.
      setTimeout(() => { throw e; });
    }
  }
}

export class ZirClient {
  // port: zir's WebPort (default 80); host: '127.0.0.1' unless told otherwise; timeouts in ms.
  constructor({ port = 80, host = '127.0.0.1', timeouts = {} } = {}) {
    this.port = port;
    this.baseUrl = 'http://' + host + ':' + port;
    this.timeouts = Object.assign({}, DEFAULT_TIMEOUTS, timeouts);
  }

  // The full read: the card's fields and photo.
  readCard({ timeoutMs = this.timeouts.card } = {}) {
    return fetchDocument(this.baseUrl, '/', timeoutMs);
  }

  // The card's UID and kind only.
  readUid({ timeoutMs = this.timeouts.uid } = {}) {
    return fetchDocument(this.baseUrl, '/?type=UID', timeoutMs);
  }

  // zir's version and reader, without touching the reader.
  status({ timeoutMs = this.timeouts.status } = {}) {
    return fetchDocument(this.baseUrl, '/status', timeoutMs);
  }

  // Call it from a click: the browser shows its permission prompt for this request, at a moment
  // the page chose, instead of during the first read.
  requestAccess(options) {
    return this.status(options);
  }

  // The card events: onEvent({ type, data }) with type 'card', 'removed' or, with read,
  // 'document'. The present state comes first. onState('open' | 'reconnecting' | 'closed') tells
  // how the shared stream fares. stop() ends this watch.
  watch(onEvent, { read = false, onState } = {}) {
    let hub = hubs.get(this.baseUrl);
    if (!hub) {
      hub = new StreamHub(this.baseUrl);
      hubs.set(this.baseUrl, hub);
    }
    const watcher = { onEvent, read: !!read, onState };
    hub.add(watcher);
    return { stop: () => hub.remove(watcher) };
  }
}

export default ZirClient;
