// Local Network Access in a real browser: Chromium's own rules for pages of other address
// spaces that call zir on 127.0.0.1. The page servers run on 127.0.0.1 too, so Chromium is told
// which address space each one's port stands for (--ip-address-space-overrides), and reaches
// them by a name (--host-resolver-rules), which makes their http pages no secure context.
// ZIR_PROGRAM, ZIR_LAUNCHER and CHROMIUM: see harness.js.
'use strict';

const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const childProcess = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { startPageServer, startZir, startBrowser } = require('./harness');

const card = 'CardType=1\nName=张三\nUid=A1B2C3D4\n';
const uidDocument = { statusCode: '200', type: '身份证', uid: 'A1B2C3D4' };

let servers = {};
let browser;
let zir;

// A certificate of our own for the https page; Chromium is told to accept it.
function selfSignedCertificate() {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'zir-tls-'));
  const key = path.join(dir, 'key.pem');
  const cert = path.join(dir, 'cert.pem');
  childProcess.execFileSync('openssl', ['req', '-x509', '-newkey', 'rsa:2048', '-nodes',
    '-keyout', key, '-out', cert, '-days', '1', '-subj', '/CN=desk.test',
    '-addext', 'subjectAltName=DNS:desk.test'], { stdio: 'ignore' });
  const tls = { key: fs.readFileSync(key), cert: fs.readFileSync(cert) };
  fs.rmSync(dir, { recursive: true, force: true });
  return tls;
}

before(async () => {
  servers = {
    private: await startPageServer(),
    public: await startPageServer(),
    https: await startPageServer({ tls: selfSignedCertificate() }),
  };
  const space = (server, name) => `127.0.0.1:${server.port}=${name}`;
  browser = await startBrowser({
    ignoreHTTPSErrors: true,
    args: [`--ip-address-space-overrides=${space(servers.private, 'local')},` +
           `${space(servers.public, 'public')},${space(servers.https, 'public')}`,
           '--host-resolver-rules=MAP desk.test 127.0.0.1'],
  });
  zir = await startZir(card);
});

after(async () => {
  if (zir)
    await zir.stop();
  if (browser)
    await browser.close();
  for (const server of Object.values(servers))
    server.server.close();
});

// The page's origin as the browser sees it.
function originOf(server) {
  return `${server.origin.startsWith('https') ? 'https' : 'http'}://desk.test:${server.port}`;
}

// Reads through the client on a page of that server: documents, or the error codes.
async function readOn(server, page) {
  await page.goto(`${originOf(server)}/examples/index.html`);
  return page.evaluate(async (port) => {
    const { ZirClient } = await import('/clients/js/zir.js');
    const zir = new ZirClient({ port });
    const outcome = (promise) => promise.then((document) => document, (error) => error.code);
    return { secure: isSecureContext, uid: await outcome(zir.readUid()),
             card: await outcome(zir.readCard()) };
  }, zir.port);
}

// The service's log lines of requests (answered or refused) since `from`.
function requestLines(from) {
  return zir.output().slice(from).split('\n').filter((line) => line.startsWith('##REQUEST'));
}

test('a private address\'s http page reads the UID and the card without a prompt', async () => {
  const page = await browser.context.newPage();
  const read = await readOn(servers.private, page);
  assert.equal(read.secure, false);
  assert.deepEqual(read.uid, uidDocument);
  assert.equal(read.card.name, '张三');
  await page.close();
});

test('a public http page is blocked by the browser: insecure-page, and zir sees nothing', async () => {
  const from = zir.output().length;
  const page = await browser.context.newPage();
  const read = await readOn(servers.public, page);
  assert.deepEqual(read, { secure: false, uid: 'insecure-page', card: 'insecure-page' });
  await new Promise((resolve) => setTimeout(resolve, 300)); // a line under way would show
  assert.deepEqual(requestLines(from), []);
  await page.close();
});

test('a public https page: permission denied, nothing reaches zir; granted, reads work', async () => {
  const page = await browser.context.newPage();
  await page.goto(`${originOf(servers.https)}/examples/index.html`);
  const cdp = await browser.context.newCDPSession(page);
  const permission = (setting) => cdp.send('Browser.setPermission', {
    permission: { name: 'loopback-network' }, setting, origin: originOf(servers.https) });

  await permission('denied');
  const from = zir.output().length;
  const denied = await readOn(servers.https, page);
  assert.deepEqual(denied, { secure: true, uid: 'permission-denied', card: 'permission-denied' });
  await new Promise((resolve) => setTimeout(resolve, 300));
  assert.deepEqual(requestLines(from), []);

  await permission('granted');
  const granted = await readOn(servers.https, page);
  assert.deepEqual(granted.uid, uidDocument);
  assert.equal(granted.card.name, '张三');
  await page.close();
});
