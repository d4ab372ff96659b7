// WebOrigins in a real browser: the service with a list of one origin, and the example page
// served from two origins. The listed one reads the card; for the other the browser's fetch
// fails (the service answers 403 and names the origin in its log) and the reader is not called.
//
// Environment: see harness.js.
'use strict';

const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const { startPageServer, startZir, startBrowser } = require('./harness');

const card = 'CardType=1\nName=张三\nSex=男\nNation=汉\nBirthday=19900101\n' +
             'IdCode=110101199001011234\nUid=A1B2C3D4\n';

let listed;
let unlisted;
let browser;

before(async () => {
  listed = await startPageServer();
  unlisted = await startPageServer();
  browser = await startBrowser();
});

after(async () => {
  if (browser)
    await browser.close();
  for (const server of [listed, unlisted]) {
    if (server)
      server.server.close();
  }
});

// What the page's own client and a plain fetch get from the service.
async function readFrom(pageServer, port) {
  const page = await browser.context.newPage();
  try {
    await page.goto(`${pageServer.origin}/examples/index.html?port=${port}`);
    return await page.evaluate(async (port) => {
      const { ZirClient } = await import('/clients/js/zir.js');
      const zir = new ZirClient({ port });
      const outcome = (promise) => promise.then((document) => ({ ok: true, document }),
                                                (error) => ({ ok: false, reason: error.code }));
      const uid = await outcome(zir.readUid());
      const full = await outcome(zir.readCard());
      let fetched;
      try {
        const response = await fetch(`http://127.0.0.1:${port}/?type=UID`, { cache: 'no-store' });
        fetched = `${response.status} ${await response.text()}`;
      } catch (e) {
        fetched = `failed: ${e.name}`;
      }
      return { uid: { ok: uid.ok, reason: uid.reason, document: uid.document },
               full: { ok: full.ok, reason: full.reason,
                       name: full.document && full.document.name },
               fetched };
    }, port);
  } finally {
    await page.close();
  }
}

function countLines(zir, start) {
  return zir.output().split('\n').filter((line) => line.startsWith(start)).length;
}

// The service writes its log apart from its answers: wait a little for lines still under way.
async function waitForLines(zir, start, count) {
  for (let i = 0; i < 100 && countLines(zir, start) < count; ++i)
    await new Promise((resolve) => setTimeout(resolve, 50));
  return countLines(zir, start);
}

test('a listed origin reads the card; another one is refused before the reader is called', async () => {
  const zir = await startZir(card, { webOrigins: `https://desk.example.com, ${listed.origin}` });
  try {
    const allowed = await readFrom(listed, zir.port);
    assert.equal(allowed.uid.ok, true, JSON.stringify(allowed));
    assert.deepEqual(allowed.uid.document, { statusCode: '200', type: '身份证', uid: 'A1B2C3D4' });
    assert.deepEqual(allowed.full, { ok: true, reason: undefined, name: '张三' });
    assert.equal(allowed.fetched, '200 {"statusCode":"200","type":"身份证","uid":"A1B2C3D4"}');
    assert.equal(await waitForLines(zir, '##REQUEST --> ', 3), 3, zir.output());

    const refused = await readFrom(unlisted, zir.port);
    assert.equal(refused.uid.ok, false);
    // The client's probe of /status (no-cors, so without Origin, and served) reached zir: the
    // failure was a refusal.
    assert.equal(refused.uid.reason, 'forbidden');
    assert.deepEqual(refused.full, { ok: false, reason: 'forbidden', name: undefined });
    assert.equal(refused.fetched, 'failed: TypeError');
    // Three refusals, and not one more request line: a request line comes before each read.
    const refusal = `##REQUEST REFUSED --> [ORIGIN: ${unlisted.origin}; not in WebOrigins]`;
    assert.equal(await waitForLines(zir, refusal, 3), 3, zir.output());
    assert.equal(countLines(zir, '##REQUEST --> '), 3, zir.output());
  } finally {
    await zir.stop();
  }
});

test('without WebOrigins every origin reads the card, as always', async () => {
  const zir = await startZir(card);
  try {
    const read = await readFrom(unlisted, zir.port);
    assert.equal(read.uid.ok, true, JSON.stringify(read));
    assert.equal(read.fetched, '200 {"statusCode":"200","type":"身份证","uid":"A1B2C3D4"}');
  } finally {
    await zir.stop();
  }
});
