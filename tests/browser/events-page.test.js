// The event page in a real browser against the real service: headless Chromium loads
// examples/events.html from its own origin, which follows GET /events of `zir
// --simulate=CARDFILE` on another port, and the test places, swaps and takes away cards by
// rewriting and removing the card file. ZIR_PROGRAM, ZIR_LAUNCHER and CHROMIUM: see harness.js.
'use strict';

const { test } = require('node:test');
const assert = require('node:assert/strict');
const { startZir, usePageServersAndBrowser } = require('./harness');

const cardA = 'CardType=1\nName=张三\nSex=男\nNation=汉\nBirthday=19900101\n' +
              'Address=北京市东城区示例路1号\nIdCode=110101199001011234\n' +
              'Department=北京市公安局东城分局\nStartDate=20200101\nEndDate=长期\nUid=A1B2C3D4\n';
const cardB = 'CardType=2\nName=陈大文\nSex=男\nBirthday=19850505\nAddress=香港特别行政区\n' +
              'IdCode=810000198505050011\nPassNum=H12345678\nDepartment=公安部\n' +
              'StartDate=20190101\nEndDate=20240101\nUid=B2C3\n';

const setup = usePageServersAndBrowser('pageServer');

// What the page shows once `ready` holds for it.
async function shown(page, ready) {
  await page.waitForFunction(ready, null, { timeout: 10000 });
  return page.evaluate(() => ({
    status: document.getElementById('status').textContent,
    cardShown: !document.getElementById('card').hidden,
    title: document.getElementById('cardTitle').textContent,
    uid: document.getElementById('uid').textContent,
    fields: Object.fromEntries([...document.querySelectorAll('#fields dt')].map(
      (dt) => [dt.textContent, dt.nextElementSibling.textContent])),
    photoWidth: document.getElementById('photo').hidden ? 0
                : document.getElementById('photo').naturalWidth,
  }));
}

const readDone = () => document.getElementById('status').textContent === '读卡成功。' &&
                       !document.getElementById('photo').hidden;
const cleared = () => document.getElementById('status').textContent === '卡片已移开：请放上证件。';

test('a card placed shows its UID and holder, a removal clears it, another card follows', async () => {
  const zir = await startZir(cardA);
  try {
    const page = await setup.browser.context.newPage();
    const problems = [];
    page.on('pageerror', (error) => problems.push(String(error)));
    await page.goto(`${setup.pageServer.origin}/examples/events.html?port=${zir.port}&listen=1`);

    const first = await shown(page, readDone);
    assert.equal(first.uid, 'UID：A1B2C3D4');
    assert.equal(first.title, '身份证');
    assert.equal(first.fields['姓名'], '张三');
    assert.equal(first.fields['公民身份号码'], '110101199001011234');
    assert.equal(first.photoWidth, 102);

    zir.removeCard();
    const gone = await shown(page, cleared);
    assert.equal(gone.cardShown, false);
    assert.deepEqual(gone.fields, {});

    zir.writeCard(cardB);
    const second = await shown(page, readDone);
    assert.equal(second.uid, 'UID：B2C3');
    assert.equal(second.title, '港澳台居住证');
    assert.equal(second.fields['姓名'], '陈大文');
    assert.equal(second.fields['通行证号码'], 'H12345678');
    assert.deepEqual(problems, []);
    await page.close();
    assert.match(zir.output(), /##EVENTS OPEN --> \[127\.0\.0\.1:\d+; READ: 1; OPEN: 1\]/);
  } finally {
    await zir.stop();
  }
});

test('with read=0 the page shows the UID alone, and says so when the service is gone', async () => {
  const zir = await startZir(cardB);
  try {
    const page = await setup.browser.context.newPage();
    await page.goto(`${setup.pageServer.origin}/examples/events.html?port=${zir.port}&listen=1&read=0`);
    const card = await shown(page, () =>
      document.getElementById('status').textContent === '检测到卡片。');
    assert.equal(card.uid, 'UID：B2C3');
    assert.deepEqual(card.fields, {});
    assert.doesNotMatch(zir.output(), /##DECODE/);

    await zir.stop();
    const lost = await shown(page, () =>
      document.getElementById('status').className === 'error');
    assert.match(lost.status, /^(与读卡服务的连接中断|无法连接读卡服务)/);
    await page.close();
  } finally {
    await zir.stop();
  }
});
