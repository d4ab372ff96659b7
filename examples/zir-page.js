// zir-page.js: what the two example pages show (the port field, the status line, the fields
// under their Chinese labels and the photo). Talking to zir is the client's:
// clients/js/zir.js.

const $ = (id) => document.getElementById(id);

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

function fieldsOf(members, cardType) {
  const fields = [];
  for (const key of Object.keys(members)) {
    if (key === 'statusCode' || PHOTO_KEYS.includes(key) || typeof members[key] !== 'string')
      continue;
    let label = LABELS[key] || key;
    if (key === 'IdNum' && ID_NUMBER_LABELS[cardType])
      label = ID_NUMBER_LABELS[cardType];
    fields.push({ key, label, value: members[key] });
  }
  return fields;
}

// What a document of the client shows: a UID, or a card in one of the layouts.
export function describe(doc) {
  if (doc.resultFlag === '0' && doc.resultContent && typeof doc.resultContent === 'object') {
    const content = doc.resultContent;
    return { kind: 'card', cardType: '', fields: fieldsOf(content, ''),
             photo: content.identityPic || '' };
  }
  if ('type' in doc && !('cardType' in doc))
    return { kind: 'uid', cardType: doc.type, fields: fieldsOf(doc, ''), photo: '' };
  return { kind: 'card', cardType: doc.cardType || '', fields: fieldsOf(doc, doc.cardType),
           photo: doc.photoBase64 || '' };
}

// ?port= of the address, else the port used here last, else 80.
export function initialPort(params) {
  let stored = null;
  try { stored = localStorage.getItem('zir.port'); } catch (e) { /* private mode */ }
  return params.get('port') || stored || '80';
}

export function say(kind, text) {
  $('status').className = kind;
  $('status').textContent = text;
}

// The port field's value, remembered for the next visit; null (and said) when it is no port.
export function port() {
  const value = Number($('port').value);
  if (!Number.isInteger(value) || value < 1 || value > 65535) {
    say('error', '端口无效：请填写 1 到 65535 之间的数字。');
    return null;
  }
  try { localStorage.setItem('zir.port', String(value)); } catch (e) { /* private mode */ }
  return value;
}

// Label and value of each field, in the document's order; keys in `skip` are left out.
export function showFields(fields, skip) {
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

export function clearPhoto() {
  const img = $('photo');
  img.hidden = true;
  img.onload = img.onerror = null;
  img.removeAttribute('src');
  $('photoNote').textContent = '';
}

// The photo text of a full read ("ERROR" or empty: none was decoded).
export function showPhoto(photo) {
  clearPhoto();
  if (!photo || photo === 'ERROR') {
    $('photoNote').textContent = '照片未能解码';
    return;
  }
  const img = $('photo');
  $('photoNote').textContent = '照片读取中…';
  img.onload = () => { img.hidden = false; $('photoNote').textContent = '证件照片'; };
  img.onerror = () => { $('photoNote').textContent = '照片无法显示'; };
  img.src = 'data:image/bmp;base64,' + photo;
}

export { $ };
