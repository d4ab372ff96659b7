// WebOrigins in a real browser: the service with a list of one origin, and the example page
// served from two origins. The listed one reads the card; for the other the browser's fetch
// fails (the service answers 403 and names the origin in its log) and the reader is not called.
//
// Environment: see harness.js.
'use strict';

const { test } = require('node:test');
const assert = require('node:assert/strict');
const { startZir, usePageServersAndBrowser } = require('./harness');

const card = 'CardType=1\nName=张三\nSex=男\nNation=汉\nBirthday=19900101\n' +
             'IdCode=110101199001011234\nUid=A1B2C3D4\n';

const setup = usePageServersAndBrowser('listed', 'unlisted');

// What the page's own client and a plain fetch get from the service.
async function readFrom(pageServer, port) {
  const page = await setup.browser.context.newPage();
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

test('a listed origin reads the card; another one is refused before the reader is called', async () => {
  const zir = await startZir(card, { webOrigins: `https://desk.example.com, ${setup.listed.origin}` });
  try {
    const allowed = await readFrom(setup.listed, zir.port);
    assert.equal(allowed.uid.ok, true, JSON.stringify(allowed));
    assert.deepEqual(allowed.uid.document, { statusCode: '200', type: '身份证', uid: 'A1B2C3D4' });
    assert.deepEqual(allowed.full, { ok: true, reason: undefined, name: '张三' });
    assert.equal(allowed.fetched, '200 {"statusCode":"200","type":"身份证","uid":"A1B2C3D4"}');
    assert.equal(await zir.waitForLines('##REQUEST --> ', 3), 3, zir.output());

    const refused = await readFrom(setup.unlisted, zir.port);
    assert.equal(refused.uid.ok, false);
    // The client's probe of /status (no-cors, so without Origin, and served) reached zir: the
    // failure was a refusal.
    assert.equal(refused.uid.reason, 'forbidden');
    assert.deepEqual(refused.full, { ok: false, reason: 'forbidden', name: undefined });
    assert.equal(refused.fetched, 'failed: TypeError');
    // Three refusals, and not one more request line: a request line comes before each read.
    const refusal = `##REQUEST REFUSED --> [ORIGIN: ${setup.unlisted.origin}; not in WebOrigins]`;
    assert.equal(await zir.waitForLines(refusal, 3), 3, zir.output());
    assert.equal(zir.lines('##REQUEST --> '), 3, zir.output());
  } finally {
    await zir.stop();
  }
});

test('without WebOrigins every origin reads the card, as always', async () => {
  const zir = await startZir(card);
  try {
    const read = await readFrom(setup.unlisted, zir.port);
    assert.equal(read.uid.ok, true, JSON.stringify(read));
    assert.equal(read.fetched, '200 {"statusCode":"200","type":"身份证","uid":"A1B2C3D4"}');
  } finally {
    await zir.stop();
  }
});
