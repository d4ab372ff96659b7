// Requests that make the browser ask first (a custom header, a JSON POST) read the card, with
// and without a WebOrigins list, and an unlisted origin's preflight is refused; status()
// answers while a slow full read holds the reader. ZIR_PROGRAM, ZIR_LAUNCHER and CHROMIUM: see
// harness.js.
'use strict';

const { test } = require('node:test');
const assert = require('node:assert/strict');
const { startZir, usePageServersAndBrowser } = require('./harness');

const card = 'CardType=1\nName=张三\nUid=A1B2C3D4\n';

const setup = usePageServersAndBrowser('listed', 'unlisted');

// A fetch with a custom header and a JSON POST from a page of that server: what each got.
async function preflighted(pageServer, port) {
  const page = await setup.browser.context.newPage();
  try {
    await page.goto(`${pageServer.origin}/examples/index.html`);
    return await page.evaluate(async (port) => {
      const base = `http://127.0.0.1:${port}`;
      const attempt = async (url, init) => {
        try {
          const answer = await (await fetch(url, { cache: 'no-store', ...init })).json();
          return answer.name || answer.uid;
        } catch (e) {
          return e.name;
        }
      };
      return [await attempt(`${base}/?type=UID`, { headers: { 'X-Desk': 'reception 1' } }),
              await attempt(`${base}/`, { method: 'POST', body: '{"desk":1}',
                                          headers: { 'Content-Type': 'application/json' } })];
    }, port);
  } finally {
    await page.close();
  }
}

test('a custom header and a JSON POST read the card, with and without WebOrigins', async () => {
  for (const webOrigins of ['', setup.listed.origin]) {
    const zir = await startZir(card, { webOrigins });
    try {
      assert.deepEqual(await preflighted(setup.listed, zir.port), ['A1B2C3D4', '张三'], webOrigins);
      // The preflights left no line of their own.
      assert.equal(await zir.waitForLines('##REQUEST', 2), 2, zir.output());
    } finally {
      await zir.stop();
    }
  }
});

test('an unlisted origin\'s preflight is refused and the page sees a failure', async () => {
  const zir = await startZir(card, { webOrigins: setup.listed.origin });
  try {
    assert.deepEqual(await preflighted(setup.unlisted, zir.port), ['TypeError', 'TypeError']);
    const refusal = `##REQUEST REFUSED --> [ORIGIN: ${setup.unlisted.origin}; not in WebOrigins]`;
    assert.equal(await zir.waitForLines(refusal, 2), 2, zir.output());
    assert.equal(zir.lines('##REQUEST --> '), 0, zir.output());
  } finally {
    await zir.stop();
  }
});

test('status() answers while a slow full read holds the reader', async () => {
  const zir = await startZir(card + 'DelayMs=150\n');
  const page = await setup.browser.context.newPage();
  try {
    await page.goto(`${setup.listed.origin}/examples/index.html`);
    const order = await page.evaluate(async (port) => {
      const { ZirClient } = await import('/clients/js/zir.js');
      const zir = new ZirClient({ port });
      const order = [];
      const read = zir.readCard().then((card) => order.push('card ' + card.name));
      await new Promise((resolve) => setTimeout(resolve, 300)); // the read is under way
      const status = await zir.status();
      order.push(`status ${status.reader} ${status.simulated}`);
      await read;
      return order;
    }, zir.port);
    assert.deepEqual(order, ['status ready true', 'card 张三']);
  } finally {
    await page.close();
    await zir.stop();
  }
});
