// The example page in a real browser against the real service: headless Chromium (Debian's, driven
// by playwright-core) loads examples/index.html from its own origin, clicks "读取身份证" and
// "读取UID" against `zir --simulate=CARDFILE` on another port, and checks what the page shows for
// each card type, both layouts, the failure document and a service that is not there.
// ZIR_PROGRAM, ZIR_LAUNCHER and CHROMIUM: see harness.js.
// ZIR_SCREENSHOT where the screenshot of a read card goes (default docs/images/example-page.png)
'use strict';

const { test } = require('node:test');
const assert = require('node:assert/strict');
const path = require('node:path');
const { root, startZir, usePageServersAndBrowser } = require('./harness');

const screenshot = process.env.ZIR_SCREENSHOT ||
                   path.join(root, 'docs', 'images', 'example-page.png');

const cards = {
  1: { file: 'CardType=1\nName=张三\nSex=男\nNation=汉\nBirthday=19900101\n' +
             'Address=北京市东城区示例路1号\nIdCode=110101199001011234\n' +
             'Department=北京市公安局东城分局\nStartDate=20200101\nEndDate=长期\nUid=A1B2C3D4\n',
       title: '身份证',
       fields: [['证件类型', '身份证'], ['姓名', '张三'], ['性别', '男'], ['民族', '汉'],
                ['出生日期', '19900101'], ['住址', '北京市东城区示例路1号'],
                ['公民身份号码', '110101199001011234'], ['签发机关', '北京市公安局东城分局'],
                ['有效期起始日期', '20200101'], ['有效期截止日期', '长期'],
                ['卡片UID', 'A1B2C3D4']],
       uid: [['卡片种类', '身份证'], ['卡片UID', 'A1B2C3D4']] },
  2: { file: 'CardType=2\nName=陈大文\nSex=男\nBirthday=19850505\nAddress=香港特别行政区\n' +
             'IdCode=810000198505050011\nPassNum=H12345678\nDepartment=公安部\n' +
             'StartDate=20190101\nEndDate=20240101\nUid=B2C3\nUidCardType=4\n',
       title: '港澳台居住证',
       fields: [['证件类型', '港澳台居住证'], ['姓名', '陈大文'], ['性别', '男'],
                ['出生日期', '19850505'], ['住址', '香港特别行政区'],
                ['公民身份号码', '810000198505050011'], ['通行证号码', 'H12345678'],
                ['签发机关', '公安部'], ['有效期起始日期', '20190101'],
                ['有效期截止日期', '20240101'], ['卡片UID', 'B2C3']],
       uid: [['卡片种类', 'IC卡'], ['卡片UID', 'B2C3']] },
  3: { file: 'CardType=3\nName=安娜\nNameEn=ANNA SMITH\nSex=女\nCountry=美国\nCountryCode=USA\n' +
             'Birthday=19800101\nIdCode=USA123456789\nDepartment=国家移民管理局\n' +
             'StartDate=20170101\nEndDate=20270101\nUid=C3\nUidCardType=7\n',
       title: '外国人永居证17版',
       fields: [['证件类型', '外国人永居证17版'], ['姓名', '安娜'], ['英文姓名', 'ANNA SMITH'],
                ['性别', '女'], ['国籍', '美国'], ['国籍代码', 'USA'], ['出生日期', '19800101'],
                ['永久居留证号码', 'USA123456789'], ['签发机关', '国家移民管理局'],
                ['有效期起始日期', '20170101'], ['有效期截止日期', '20270101'],
                ['卡片UID', 'C3']],
       uid: [['卡片种类', '其他卡'], ['卡片UID', 'C3']] },
  4: { file: 'CardType=4\nName=李明\nNameEn=LI MING\nSex=男\nCountry=加拿大\nCountryCode=CAN\n' +
             'Birthday=19750315\nIdCode=CAN110075031501\nDepartment=国家移民管理局\n' +
             'StartDate=20230601\nEndDate=20330601\nUid=D4E5F6\n',
       title: '外国人永居证23版',
       fields: [['证件类型', '外国人永居证23版'], ['姓名', '李明'], ['英文姓名', 'LI MING'],
                ['性别', '男'], ['国籍', '加拿大'], ['国籍代码', 'CAN'], ['出生日期', '19750315'],
                ['永久居留证号码', 'CAN110075031501'], ['签发机关', '国家移民管理局'],
                ['有效期起始日期', '20230601'], ['有效期截止日期', '20330601'],
                ['卡片UID', 'D4E5F6']],
       uid: [['卡片种类', '身份证'], ['卡片UID', 'D4E5F6']] },
};

const setup = usePageServersAndBrowser('pageServer');

async function openPage(port) {
  const page = await setup.browser.context.newPage();
  const problems = [];
  page.on('pageerror', (error) => problems.push(String(error)));
  await page.goto(`${setup.pageServer.origin}/examples/index.html?port=${port}`);
  return { page, problems };
}

// Clicks a button and waits until the page has shown the answer.
async function click(page, button) {
  await page.getByRole('button', { name: button }).click();
  await page.waitForFunction(() => {
    const status = document.getElementById('status');
    return status.className === 'success' || status.className === 'error';
  }, null, { timeout: 30000 });
  return page.evaluate(() => ({
    status: document.getElementById('status').textContent,
    kind: document.getElementById('status').className,
    cardShown: !document.getElementById('card').hidden,
    title: document.getElementById('cardTitle').textContent,
    fields: [...document.querySelectorAll('#fields dt')].map(
      (dt) => [dt.textContent, dt.nextElementSibling.textContent]),
  }));
}

// The photo once the browser has decoded it (or given up).
async function photo(page) {
  await page.waitForFunction(() => {
    const note = document.getElementById('photoNote').textContent;
    return note !== '照片读取中…';
  }, null, { timeout: 10000 });
  return page.evaluate(() => {
    const img = document.getElementById('photo');
    return { shown: !img.hidden, width: img.naturalWidth, height: img.naturalHeight,
             note: document.getElementById('photoNote').textContent };
  });
}

test('every card type: all fields with their labels, the photo decoded, and the UID', async () => {
  const zir = await startZir(cards[1].file);
  try {
    const { page, problems } = await openPage(zir.port);
    for (const type of [1, 2, 3, 4]) {
      const card = cards[type];
      zir.writeCard(card.file);
      const shown = await click(page, '读取身份证');
      assert.equal(shown.kind, 'success', `card type ${type}: ${shown.status}`);
      assert.equal(shown.status, '读卡成功。');
      assert.equal(shown.title, card.title);
      assert.deepEqual(shown.fields, card.fields, `card type ${type}`);
      assert.deepEqual(await photo(page), { shown: true, width: 102, height: 126, note: '证件照片' });
      if (type === 1)
        await page.screenshot({ path: screenshot, fullPage: true });

      const uid = await click(page, '读取UID');
      assert.equal(uid.kind, 'success', `card type ${type}: ${uid.status}`);
      assert.equal(uid.status, '已读取卡片UID。');
      assert.equal(uid.title, '卡片UID');
      assert.deepEqual(uid.fields, card.uid, `UID of card type ${type}`);
      assert.equal(await page.locator('#photoBox').isVisible(), false);
    }
    assert.deepEqual(problems, []);
    await page.close();
  } finally {
    await zir.stop();
  }
});

test('the result-content layout (WebType=1) shows the same card under its own names', async () => {
  const zir = await startZir(cards[1].file, { webType: 1 });
  try {
    const { page } = await openPage(zir.port);
    const shown = await click(page, '读取身份证');
    assert.equal(shown.kind, 'success', shown.status);
    assert.equal(shown.title, '证件信息');
    assert.deepEqual(shown.fields, [
      ['姓名', '张三'], ['性别', '男'], ['民族', '汉'], ['出生日期', '19900101'],
      ['住址', '北京市东城区示例路1号'], ['证件号码', '110101199001011234'],
      ['签发机关', '北京市公安局东城分局'], ['有效期起始日期', '20200101'],
      ['有效期截止日期', '长期']]);
    assert.equal((await photo(page)).width, 102);
    await page.close();
  } finally {
    await zir.stop();
  }
});

test('a card without a decoded photo, no card at all, and a service that is not there', async () => {
  const zir = await startZir(cards[1].file.replace('CardType=1\n', 'CardType=1\nPhotoRawResult=0\n'));
  let port;
  try {
    port = zir.port;
    const { page } = await openPage(port);
    const noPhoto = await click(page, '读取身份证');
    assert.equal(noPhoto.kind, 'success', noPhoto.status);
    assert.deepEqual(noPhoto.fields, cards[1].fields);
    assert.deepEqual(await photo(page), { shown: false, width: 0, height: 0, note: '照片未能解码' });

    // The service's failure document, for a full read and for a UID read.
    zir.removeCard();
    for (const button of ['读取身份证', '读取UID']) {
      const failed = await click(page, button);
      assert.equal(failed.kind, 'error', button);
      assert.equal(failed.cardShown, false, button);
      assert.match(failed.status, /^读卡失败：没有读到证件。/, button);
    }
    assert.match(await page.locator('#raw').textContent(), /"statusCode": "500"/);

    await zir.stop();
    const unreachable = await click(page, '读取身份证');
    assert.equal(unreachable.kind, 'error');
    assert.equal(unreachable.cardShown, false);
    assert.equal(unreachable.status,
                 `无法连接读卡服务 http://127.0.0.1:${port}/：请确认 zir 已启动，并且端口设置正确。`);
    await page.close();
  } finally {
    await zir.stop();
  }
});

test('the port is the page setting: kept between visits and checked before a request', async () => {
  const zir = await startZir(cards[2].file);
  try {
    const { page } = await openPage(zir.port);
    assert.equal((await click(page, '读取UID')).kind, 'success');
    // Without ?port= the page takes the port it used last.
    await page.goto(`${setup.pageServer.origin}/examples/index.html`);
    assert.equal(await page.inputValue('#port'), String(zir.port));
    assert.deepEqual((await click(page, '读取UID')).fields, cards[2].uid);
    // &read=uid and &read=1 read at once, without a click.
    for (const [read, fields] of [['uid', cards[2].uid], ['1', cards[2].fields]]) {
      await page.goto(`${setup.pageServer.origin}/examples/index.html?port=${zir.port}&read=${read}`);
      await page.waitForFunction(() => document.getElementById('status').className !== '');
      assert.deepEqual(await page.$$eval('#fields dt', (dts) =>
        dts.map((dt) => [dt.textContent, dt.nextElementSibling.textContent])), fields, read);
    }
    await page.fill('#port', '70000');
    const invalid = await click(page, '读取身份证');
    assert.equal(invalid.kind, 'error');
    assert.equal(invalid.status, '端口无效：请填写 1 到 65535 之间的数字。');
    await page.close();
  } finally {
    await zir.stop();
  }
});
