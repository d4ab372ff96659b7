// One event stream for all tabs: twelve tabs of one page origin watch the card through the
// client, and zir serves them with one /events stream, which leaves the browser's other
// connections to zir free. When the tab that holds the stream closes, another one takes it.
// ZIR_PROGRAM, ZIR_LAUNCHER and CHROMIUM: see harness.js.
'use strict';

const { test } = require('node:test');
const assert = require('node:assert/strict');
const { startZir, usePageServersAndBrowser } = require('./harness');

const cardA = 'CardType=1\nName=张三\nUid=A1B2C3D4\n';
const cardB = 'CardType=2\nName=陈大文\nPassNum=H12345678\nUid=B2C3\n';

const setup = usePageServersAndBrowser('pageServer');

// A tab that watches with read: true and keeps what it receives in window.seen: "card:UID",
// "removed" and "document:NAME".
async function watchingTab(port) {
  const page = await setup.browser.context.newPage();
  await page.goto(`${setup.pageServer.origin}/examples/index.html`);
  await page.evaluate(async (port) => {
    const { ZirClient } = await import('/clients/js/zir.js');
    window.seen = [];
    new ZirClient({ port }).watch((event) => window.seen.push(
      event.type === 'card' ? 'card:' + event.data.uid
        : event.type === 'document' ? 'document:' + event.data.name : event.type), { read: true });
  }, port);
  return page;
}

// Waits until every tab's events end with `last` and returns what they saw.
async function allSee(tabs, last) {
  return Promise.all(tabs.map(async (tab) => {
    await tab.waitForFunction((last) => window.seen[window.seen.length - 1] === last, last,
                              { timeout: 10000 });
    return tab.evaluate(() => window.seen.slice());
  }));
}

test('twelve tabs share one stream, a thirteenth reads at once, and a closed holder is replaced',
     async () => {
  const zir = await startZir(cardA);
  try {
    const tabs = [];
    for (let i = 0; i < 12; ++i)
      tabs.push(await watchingTab(zir.port));
    // Each tab gets the present state first, whenever it joined.
    for (const seen of await allSee(tabs, 'document:张三'))
      assert.deepEqual(seen, ['card:A1B2C3D4', 'document:张三']);
    assert.equal(await zir.waitForLines('##EVENTS OPEN', 1), 1, zir.output());

    const thirteenth = await setup.browser.context.newPage();
    await thirteenth.goto(`${setup.pageServer.origin}/examples/index.html`);
    const took = await thirteenth.evaluate(async (port) => {
      const { ZirClient } = await import('/clients/js/zir.js');
      const start = performance.now();
      const uid = await new ZirClient({ port }).readUid();
      return { uid: uid.uid, ms: performance.now() - start };
    }, zir.port);
    assert.equal(took.uid, 'A1B2C3D4');
    assert.ok(took.ms < 1000, `the UID took ${took.ms} ms`);

    zir.removeCard();
    await allSee(tabs, 'removed');
    zir.writeCard(cardB);
    for (const seen of await allSee(tabs, 'document:陈大文'))
      assert.deepEqual(seen.slice(2), ['removed', 'card:B2C3', 'document:陈大文']);

    // The first tab asked for the lock first and holds the stream.
    const opened = zir.lines('##EVENTS OPEN');
    const closedAt = Date.now();
    await tabs.shift().close();
    while (zir.lines('##EVENTS OPEN') === opened && Date.now() - closedAt < 5000)
      await new Promise((resolve) => setTimeout(resolve, 20));
    assert.ok(Date.now() - closedAt < 2000, `taken over after ${Date.now() - closedAt} ms`);
    assert.equal(await zir.waitForLines('##EVENTS CLOSE', 1), 1, zir.output());
    zir.writeCard(cardA);
    // All tabs at once, so that a failure shows what each of them saw and what zir logged.
    const after = await allSee(tabs, 'document:张三');
    assert.deepEqual(after.map((seen) => seen.slice(5)),
                     after.map(() => ['card:A1B2C3D4', 'document:张三']),
                     JSON.stringify(after) + '\n' + zir.output());
    assert.equal(await zir.waitForLines('##EVENTS OPEN', 2), 2, zir.output());
  } finally {
    await zir.stop();
  }
});
